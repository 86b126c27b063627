#pragma once
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace httplib {
class Server;
}

namespace kad::test {

// A real HTTP server on 127.0.0.1 (any free port) running on its own thread. Paths not
// set up answer 404 with an HTML error page, as a web server does.
class LoopbackHttpServer {
 public:
  struct Request {
    std::string path;
    std::string agent;
  };

  LoopbackHttpServer();
  ~LoopbackHttpServer();
  LoopbackHttpServer(const LoopbackHttpServer&) = delete;
  LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

  // "http://127.0.0.1:port"
  std::string baseUrl() const;

  void serve(const std::string& path, std::string body);
  // Streams a file from disk in blocks, for answers too big to hold.
  void serveFile(const std::string& path, const std::filesystem::path& file);
  // Answers with this status and an HTML error page.
  void fail(const std::string& path, int status);
  // Announces the whole body but closes the connection after `sent` bytes.
  void cutAfter(const std::string& path, std::string body, std::size_t sent);

  std::vector<Request> requests() const;
  std::vector<std::string> requestedPaths() const;

 private:
  struct Answer {
    int status = 200;
    std::string body;
    std::filesystem::path file;
    std::size_t cutAfter = std::string::npos;
  };

  std::unique_ptr<httplib::Server> server_;
  std::thread thread_;
  int port_ = 0;
  mutable std::mutex mutex_;
  std::map<std::string, Answer> answers_;
  std::vector<Request> requests_;
};

// Builds a zip archive with the real "zip" program from files given as name and content
// (names may hold folders). Entries keep the permission bits given (default 0644).
struct ZipMember {
  std::string name;
  std::string content;
  unsigned mode = 0644;
};
void makeZipWithZipProgram(const std::filesystem::path& archive, const std::vector<ZipMember>& members);

std::string readWholeFile(const std::filesystem::path& file);
void writeWholeFile(const std::filesystem::path& file, const std::string& content);

}  // namespace kad::test
