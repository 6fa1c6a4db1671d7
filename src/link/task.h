// A lazily started coroutine that the link's transfers are written in. A transfer reads like
// the scanner conversation it holds ("send, wait 0.3 s, read") while every wait is a timer:
// the coroutine is suspended and the event loop keeps running. Destroying a Task destroys its
// suspended frame, and with it the awaiters that hold timers, so a stopped transfer leaves no
// timer behind.
//
// Write `const bool ok = co_await step(); if (!ok) ...`, never `if (!co_await step())`: GCC 12
// generates broken code for co_await inside conditions and short-circuit operators.
#pragma once

#include <coroutine>
#include <exception>
#include <optional>
#include <type_traits>
#include <utility>

namespace vex {

template <typename T>
class Task;

namespace detail {

struct TaskPromiseBase {
    std::coroutine_handle<> continuation;

    std::suspend_always initial_suspend() noexcept { return {}; }
    struct FinalAwaiter {
        bool await_ready() noexcept { return false; }
        template <typename P>
        std::coroutine_handle<> await_suspend(std::coroutine_handle<P> h) noexcept {
            auto next = h.promise().continuation;
            return next ? next : std::noop_coroutine();
        }
        void await_resume() noexcept {}
    };
    FinalAwaiter final_suspend() noexcept { return {}; }
    // The logic reports failures by results; an exception escaping a transfer is a bug.
    void unhandled_exception() noexcept { std::terminate(); }
};

template <typename T>
struct TaskPromise : TaskPromiseBase {
    std::optional<T> value;
    Task<T> get_return_object() noexcept;
    template <typename U>
    void return_value(U&& v) {
        value.emplace(std::forward<U>(v));
    }
};

template <>
struct TaskPromise<void> : TaskPromiseBase {
    Task<void> get_return_object() noexcept;
    void return_void() noexcept {}
};

}  // namespace detail

template <typename T = void>
class [[nodiscard]] Task {
  public:
    using promise_type = detail::TaskPromise<T>;
    using Handle = std::coroutine_handle<promise_type>;

    Task() = default;
    explicit Task(Handle h) : d_handle(h) {}
    Task(Task&& o) noexcept : d_handle(std::exchange(o.d_handle, {})) {}
    Task& operator=(Task&& o) noexcept {
        if (this != &o) {
            reset();
            d_handle = std::exchange(o.d_handle, {});
        }
        return *this;
    }
    Task(const Task&) = delete;
    Task& operator=(const Task&) = delete;
    ~Task() { reset(); }

    void reset() {
        if (d_handle) std::exchange(d_handle, {}).destroy();
    }
    bool valid() const { return static_cast<bool>(d_handle); }
    bool done() const { return d_handle && d_handle.done(); }
    Handle handle() const { return d_handle; }

    // Awaiting a Task starts it and resumes the awaiting coroutine when it ends.
    bool await_ready() const noexcept { return false; }
    std::coroutine_handle<> await_suspend(std::coroutine_handle<> awaiting) noexcept {
        d_handle.promise().continuation = awaiting;
        return d_handle;
    }
    T await_resume() {
        if constexpr (!std::is_void_v<T>) return std::move(*d_handle.promise().value);
    }

  private:
    Handle d_handle;
};

namespace detail {
template <typename T>
Task<T> TaskPromise<T>::get_return_object() noexcept {
    return Task<T>{std::coroutine_handle<TaskPromise<T>>::from_promise(*this)};
}
inline Task<void> TaskPromise<void>::get_return_object() noexcept {
    return Task<void>{std::coroutine_handle<TaskPromise<void>>::from_promise(*this)};
}
}  // namespace detail

}  // namespace vex
