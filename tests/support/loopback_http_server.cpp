#include "support/loopback_http_server.h"

#include <httplib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "support/temp_dir.h"

namespace kad::test {

LoopbackHttpServer::LoopbackHttpServer() : server_(std::make_unique<httplib::Server>()) {
  server_->Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
    Answer answer;
    bool known = false;
    {
      std::lock_guard lock(mutex_);
      requests_.push_back({request.path, request.get_header_value("User-Agent")});
      const auto found = answers_.find(request.path);
      if (found != answers_.end()) {
        answer = found->second;
        known = true;
      }
    }
    if (!known) answer.status = 404;
    response.status = answer.status;
    if (answer.status != 200) {
      response.set_content("<html><body>Error " + std::to_string(answer.status) + "</body></html>", "text/html");
    } else if (!answer.file.empty()) {
      const auto size = static_cast<std::size_t>(std::filesystem::file_size(answer.file));
      auto stream = std::make_shared<std::ifstream>(answer.file, std::ios::binary);
      response.set_content_provider(size, "application/octet-stream",
                                    [stream](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                                      std::vector<char> block(std::min<std::size_t>(length, 64 * 1024));
                                      stream->seekg(static_cast<std::streamoff>(offset));
                                      stream->read(block.data(), static_cast<std::streamsize>(block.size()));
                                      return sink.write(block.data(), static_cast<std::size_t>(stream->gcount()));
                                    });
    } else if (answer.cutAfter != std::string::npos) {
      auto body = std::make_shared<std::string>(answer.body);
      const std::size_t sent = answer.cutAfter;
      response.set_content_provider(body->size(), "application/octet-stream",
                                    [body, sent](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                                      if (offset >= sent) return false;  // drops the connection
                                      return sink.write(body->data() + offset, sent - offset);
                                    });
    } else {
      response.set_content(answer.body, "application/octet-stream");
    }
  });
  port_ = server_->bind_to_any_port("127.0.0.1");
  if (port_ <= 0) throw std::runtime_error("no loopback port for the test server");
  thread_ = std::thread([this] { server_->listen_after_bind(); });
  while (!server_->is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

LoopbackHttpServer::~LoopbackHttpServer() {
  server_->stop();
  thread_.join();
}

std::string LoopbackHttpServer::baseUrl() const { return "http://127.0.0.1:" + std::to_string(port_); }

void LoopbackHttpServer::serve(const std::string& path, std::string body) {
  std::lock_guard lock(mutex_);
  answers_[path] = Answer{200, std::move(body), {}, std::string::npos};
}

void LoopbackHttpServer::serveFile(const std::string& path, const std::filesystem::path& file) {
  std::lock_guard lock(mutex_);
  answers_[path] = Answer{200, {}, file, std::string::npos};
}

void LoopbackHttpServer::fail(const std::string& path, int status) {
  std::lock_guard lock(mutex_);
  answers_[path] = Answer{status, {}, {}, std::string::npos};
}

void LoopbackHttpServer::cutAfter(const std::string& path, std::string body, std::size_t sent) {
  std::lock_guard lock(mutex_);
  answers_[path] = Answer{200, std::move(body), {}, sent};
}

std::vector<LoopbackHttpServer::Request> LoopbackHttpServer::requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

std::vector<std::string> LoopbackHttpServer::requestedPaths() const {
  std::vector<std::string> paths;
  for (const auto& request : requests()) paths.push_back(request.path);
  return paths;
}

std::string readWholeFile(const std::filesystem::path& file) {
  std::ifstream stream(file, std::ios::binary);
  std::ostringstream content;
  content << stream.rdbuf();
  return content.str();
}

void writeWholeFile(const std::filesystem::path& file, const std::string& content) {
  if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary | std::ios::trunc) << content;
}

void makeZipWithZipProgram(const std::filesystem::path& archive, const std::vector<ZipMember>& members) {
  // Members are named relative to a folder inside the staging folder, so that a name
  // like "../evil" is stored as it stands (zip keeps such names).
  TempDir staging;
  const auto inner = staging.path() / "inner";
  std::filesystem::create_directories(inner);
  std::vector<std::string> arguments = {"zip", "-q", "-X", archive.string()};
  for (const auto& member : members) {
    const auto file = inner / member.name;
    writeWholeFile(file, member.content);
    ::chmod(file.c_str(), member.mode);
    arguments.push_back(member.name);
  }
  const pid_t child = ::fork();
  if (child == 0) {
    if (::chdir(inner.c_str()) != 0) ::_exit(127);
    std::vector<char*> argv;
    for (auto& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    ::execvp("zip", argv.data());
    ::_exit(127);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) throw std::runtime_error("zip failed for " + archive.string());
}

}  // namespace kad::test
