#pragma once
#include <functional>

namespace kad::ui {

// Runs a long piece of work that shows no dialog (a download, an unpacking) while the
// caller waits for it. A front end may run it on a helper thread and keep its window
// painting meanwhile; the caller still sees it as one blocking call, so the order of its
// questions, log lines and results does not change.
using BackgroundWork = std::function<void(const std::function<void()>& work)>;

// Without a front end's runner the work runs on the caller's thread.
inline void runWork(const BackgroundWork& runner, const std::function<void()>& work) {
  if (runner) runner(work);
  else work();
}

}  // namespace kad::ui
