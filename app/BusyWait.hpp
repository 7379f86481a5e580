// Work that may take a while (a hive another program keeps locked, a slow disk) runs off the
// window's thread: the window keeps painting and shows a busy cursor, and takes no mouse or key
// input until the work is done. What reaches the window by other ways (an assistive tool's
// actions, a request to close it) is the window's command gate's to refuse.
#pragma once

#include <functional>
#include <optional>
#include <utility>

class QWidget;

namespace vornik {

// Runs `work` on another thread and returns when it is done; rethrows what it threw.
void RunWhileBusy(QWidget& window, const std::function<void()>& work);

template <typename Work>
auto WhileBusy(QWidget& window, Work work) -> decltype(work()) {
    std::optional<decltype(work())> result;
    RunWhileBusy(window, [&] { result.emplace(work()); });
    return std::move(*result);
}

}  // namespace vornik
