#include "platform/http_client.h"

#include <curl/curl.h>
#include <fcntl.h>
#include <unistd.h>

#include <mutex>

namespace kad::platform {

namespace {

constexpr long kBlockSize = 1024;

void initialiseCurlOnce() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

bool isSuccessStatus(long status) { return status >= 200 && status < 300; }

bool writeAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

}  // namespace

// Where the body of a transfer goes: a file (created on the first byte of a good answer)
// or a string.
struct HttpClient::Sink {
  CURL* curl = nullptr;
  const HttpTransfer* transfer = nullptr;
  std::filesystem::path file;  // empty: the body goes to text
  std::string* text = nullptr;
  std::size_t maxTextBytes = 0;
  int fd = -1;
  bool started = false;        // a success status was seen and the sink is open
  bool badStatus = false;
  bool localFailed = false;
  bool tooLarge = false;
  std::uint64_t received = 0;
  std::uint64_t reported = 0;

  bool start() {
    if (started) return true;
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    if (!isSuccessStatus(status)) {
      badStatus = true;
      return false;
    }
    started = true;
    if (transfer->beforeFirstWrite && !transfer->beforeFirstWrite()) {
      localFailed = true;
      return false;
    }
    if (!file.empty()) {
      fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
      if (fd < 0) {
        localFailed = true;
        return false;
      }
    }
    return true;
  }

  bool write(const char* data, std::size_t size) {
    if (!start()) return false;
    received += size;
    if (file.empty()) {
      if (text->size() + size > maxTextBytes) {
        tooLarge = true;
        return false;
      }
      text->append(data, size);
      return true;
    }
    if (!writeAll(fd, data, size)) {
      localFailed = true;
      return false;
    }
    return true;
  }

  // Returns false when the file could not be completed.
  bool finish() {
    if (fd < 0) return true;
    const bool synced = ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    fd = -1;
    return synced && closed;
  }

  void discard() {
    if (fd >= 0) ::close(fd);
    fd = -1;
    if (!file.empty()) {
      std::error_code ignored;
      std::filesystem::remove(file, ignored);
    }
  }
};

HttpClient::HttpClient(std::string agent) : agent_(std::move(agent)) { initialiseCurlOnce(); }

void HttpClient::setTimeouts(long connectSeconds, long stallSeconds) {
  connectSeconds_ = connectSeconds;
  stallSeconds_ = stallSeconds;
}

HttpResult HttpClient::perform(const std::string& url, Sink& sink, const HttpTransfer& transfer) {
  CURL* curl = curl_easy_init();
  if (curl == nullptr) return HttpResult::NoHandle;
  sink.curl = curl;
  sink.transfer = &transfer;

  const auto onData = +[](char* data, size_t size, size_t count, void* user) -> size_t {
    auto* target = static_cast<Sink*>(user);
    return target->write(data, size * count) ? size * count : 0;
  };
  const auto onProgress = +[](void* user, curl_off_t announced, curl_off_t, curl_off_t, curl_off_t) -> int {
    auto* target = static_cast<Sink*>(user);
    const HttpTransfer& job = *target->transfer;
    if (job.cancel != nullptr && job.cancel->load()) return 1;
    if (job.progress && target->started && target->received != target->reported) {
      target->reported = target->received;
      job.progress(target->received, announced > 0 ? static_cast<std::uint64_t>(announced) : 0);
    }
    return 0;
  };

  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_USERAGENT, agent_.c_str());
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 5L);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, connectSeconds_);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, stallSeconds_);
  curl_easy_setopt(curl, CURLOPT_BUFFERSIZE, kBlockSize);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, onData);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &sink);
  curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, onProgress);
  curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &sink);

  const CURLcode code = curl_easy_perform(curl);
  HttpResult result = HttpResult::Ok;
  if (code == CURLE_OK) {
    // An empty answer never reaches the data callback: judge its status here.
    if (!sink.start()) result = sink.badStatus ? HttpResult::NoServer : HttpResult::LocalFileFailed;
  } else if (code == CURLE_ABORTED_BY_CALLBACK) {
    result = HttpResult::Cancelled;
  } else if (sink.badStatus) {
    result = HttpResult::NoServer;
  } else if (sink.localFailed) {
    result = HttpResult::LocalFileFailed;
  } else if (sink.tooLarge) {
    result = HttpResult::TooLarge;
  } else {
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    result = isSuccessStatus(status) ? HttpResult::Interrupted : HttpResult::NoServer;
  }
  if (result == HttpResult::Ok && transfer.progress) {
    curl_off_t announced = 0;
    curl_easy_getinfo(curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced);
    if (sink.received != sink.reported) transfer.progress(sink.received, announced > 0 ? announced : 0);
  }
  curl_easy_cleanup(curl);
  return result;
}

HttpResult HttpClient::download(const std::string& url, const std::filesystem::path& destination,
                                const HttpTransfer& transfer) {
  Sink sink;
  sink.file = destination;
  sink.file += ".part";
  HttpResult result = perform(url, sink, transfer);
  if (result == HttpResult::Ok && !sink.finish()) result = HttpResult::LocalFileFailed;
  if (result == HttpResult::Ok) {
    std::error_code error;
    std::filesystem::rename(sink.file, destination, error);
    if (error) result = HttpResult::LocalFileFailed;
  }
  if (result != HttpResult::Ok) sink.discard();
  return result;
}

HttpResult HttpClient::fetchText(const std::string& url, std::string& body, std::size_t maxBytes,
                                 const HttpTransfer& transfer) {
  std::string received;
  Sink sink;
  sink.text = &received;
  sink.maxTextBytes = maxBytes;
  const HttpResult result = perform(url, sink, transfer);
  if (result == HttpResult::Ok) body = std::move(received);
  return result;
}

std::string joinUrl(const std::string& base, const std::string& path) {
  std::string url = base;
  while (!url.empty() && url.back() == '/') url.pop_back();
  if (path.empty() || path.front() != '/') url += '/';
  return url + path;
}

}  // namespace kad::platform
