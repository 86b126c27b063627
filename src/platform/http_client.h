#pragma once
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

namespace kad::platform {

// How a transfer ended. Only Ok means the caller got the whole answer of a 2xx reply.
enum class HttpResult {
  Ok,
  NoHandle,         // the client could not be set up at all
  NoServer,         // no connection, or the server answered with anything but success
  Interrupted,      // the answer started but did not arrive whole
  LocalFileFailed,  // the local file (or its folder) could not be created or written
  TooLarge,         // a text answer longer than the caller allows
  Cancelled,
};

struct HttpTransfer {
  // Bytes received so far against the announced length (0 when none was announced).
  // Called on the thread running the transfer.
  std::function<void(std::uint64_t received, std::uint64_t announced)> progress;
  // Checked now and then while the transfer runs; true ends it with Cancelled.
  const std::atomic<bool>* cancel = nullptr;
  // Called once the server has answered with success, just before the local file is
  // created; false ends the transfer with LocalFileFailed. Lets a caller create folders
  // only when there is something to put in them.
  std::function<bool()> beforeFirstWrite;
};

// HTTP GET over libcurl with the given agent name and the proxy from the usual environment
// variables. Redirects are followed; connection and stall time-outs keep a dead server
// from blocking for ever. One client may be used by one thread at a time.
class HttpClient {
 public:
  explicit HttpClient(std::string agent);

  // Streams the answer to disk in 1024-byte blocks under a temporary name next to the
  // destination and renames it over the destination only when the whole answer arrived.
  // On any failure the destination is untouched and the temporary file is gone.
  HttpResult download(const std::string& url, const std::filesystem::path& destination,
                      const HttpTransfer& transfer = {});

  // The answer in memory, for small texts; longer than maxBytes is TooLarge.
  HttpResult fetchText(const std::string& url, std::string& body, std::size_t maxBytes,
                       const HttpTransfer& transfer = {});

  // Seconds a connection attempt may take, and seconds without a single byte before the
  // transfer counts as interrupted.
  void setTimeouts(long connectSeconds, long stallSeconds);

 private:
  struct Sink;
  HttpResult perform(const std::string& url, Sink& sink, const HttpTransfer& transfer);

  std::string agent_;
  long connectSeconds_ = 15;
  long stallSeconds_ = 30;
};

// A server's base address ("http://host:port", with or without a final "/") joined to an
// absolute path.
std::string joinUrl(const std::string& base, const std::string& path);

}  // namespace kad::platform
