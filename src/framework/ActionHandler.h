#pragma once

#include <QAction>
#include <concepts>
#include <functional>
#include <utility>

namespace framework {

// What an action of a window's action table runs when triggered: a pointer to a member function of
// the window (or of one of its bases), or a callable taking the window, optionally also the action
// itself (for handlers that several rows share and that need to know their command).
template <class Window> class ActionHandler
{
public:
    ActionHandler() = default;

    template <class F>
    requires std::invocable<F&, Window&, QAction&> ActionHandler(F f) : mRun(std::move(f)) {}

    template <class F>
    requires(std::invocable<F&, Window&> && !std::invocable<F&, Window&, QAction&>) ActionHandler(F f)
        : mRun([f = std::move(f)](Window& window, QAction&) mutable { std::invoke(f, window); })
    {
    }

    explicit operator bool() const { return bool(mRun); }
    void operator()(Window& window, QAction& action) const { mRun(window, action); }

private:
    std::function<void(Window&, QAction&)> mRun;
};

} // namespace framework
