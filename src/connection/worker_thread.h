#pragma once
#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

namespace kad {

// Flags of the current connection that several threads read and write.
struct ConnectionControl {
  // Set by the connection end; cleared by the connect button and at the start of an upload.
  // Every transfer loop and every wait looks at it.
  std::atomic<bool> connectionClosed{true};
  // Set by "Cancelar" and ESC before they end the connection; tells a cancel from an error.
  std::atomic<bool> userCancelled{false};
  // Set when an upload has completed, so the serial watchdog no longer fires.
  std::atomic<bool> uploadFinished{false};
  std::atomic<int> serialIdleTicks{0};
};

// The upload thread (ThreadCancela). One runs at a time; the previous one is joined before
// the next starts, and the owner joins the last one when it goes.
class WorkerThread {
 public:
  WorkerThread() = default;
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;
  ~WorkerThread() { join(); }

  void start(std::function<void()> body);
  // Waits for the thread to end; from the thread itself it does nothing.
  void join();
  bool running() const { return running_; }

 private:
  std::mutex mutex_;
  std::thread thread_;
  std::atomic<bool> running_{false};
};

}  // namespace kad
