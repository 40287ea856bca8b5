#pragma once
// One object for the whole process (a backend, a list of live objects),
// made on first use from any thread, and freed only when its owner says so:
// a library being unloaded frees what it made, while at the end of the
// process nothing is destroyed, so that objects that still refer to it and
// are destroyed later find it. Being trivially destructible, a holder in
// static storage has no destruction order of its own.

#include <atomic>
#include <memory>
#include <thread>

namespace tv {

template <class T>
class TProcessObject {
 public:
  constexpr TProcessObject() = default;
  TProcessObject(const TProcessObject&) = delete;
  TProcessObject& operator=(const TProcessObject&) = delete;

  // The object; Make (returning std::unique_ptr<T>) makes it when there is
  // none. Two threads asking first get the same object.
  template <class Make>
  T& Get(Make&& make) {
    if (T* object = object_.load(std::memory_order_acquire)) return *object;
    const TMaking lock(making_);
    if (T* object = object_.load(std::memory_order_relaxed)) return *object;
    T* made = make().release();
    object_.store(made, std::memory_order_release);
    return *made;
  }
  // The object if it exists: for those who only tell it that they go.
  T* Find() const { return object_.load(std::memory_order_acquire); }
  // Puts Object in place of the current one, which is returned.
  std::unique_ptr<T> Exchange(std::unique_ptr<T> object) {
    const TMaking lock(making_);
    return std::unique_ptr<T>(object_.exchange(object.release(), std::memory_order_acq_rel));
  }
  // Frees the object; the next Get makes a new one. Nobody may use it
  // meanwhile (the owner is the only caller left, as at unloading).
  void Free() { Exchange(nullptr).reset(); }

 private:
  // A flag, not a mutex: a mutex is not trivial to make and destroy on every
  // system. It is held only while the object is made, once.
  class TMaking {
   public:
    explicit TMaking(std::atomic_flag& flag) : flag_(flag) {
      while (flag_.test_and_set(std::memory_order_acquire)) std::this_thread::yield();
    }
    ~TMaking() { flag_.clear(std::memory_order_release); }
    TMaking(const TMaking&) = delete;
    TMaking& operator=(const TMaking&) = delete;

   private:
    std::atomic_flag& flag_;
  };

  std::atomic<T*> object_{nullptr};
  std::atomic_flag making_;
};

}  // namespace tv
