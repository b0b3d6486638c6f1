#pragma once
// A toolkit event handler: code plus the object it is bound to. Handlers are called with their
// data (the bound object) first and the sender next.

#include <utility>

template <class... Args>
struct TMethod {
  void (*Code)(void* data, Args... args) = nullptr;
  void* Data = nullptr;

  explicit operator bool() const { return Code != nullptr; }
  void operator()(Args... args) const {
    if (Code) Code(Data, std::forward<Args>(args)...);
  }
  bool operator==(const TMethod& other) const { return Code == other.Code && Data == other.Data; }
};

// MakeMethod<&Receiver::handler, Args...>(receiver)
template <auto Handler, class... Args, class T>
TMethod<Args...> MakeMethod(T* receiver) {
  TMethod<Args...> m;
  m.Code = [](void* data, Args... args) {
    (static_cast<T*>(data)->*Handler)(std::forward<Args>(args)...);
  };
  m.Data = receiver;
  return m;
}

// A handler that answers: TFunc<bool, TMessage&, LRESULT&> and the like.
template <class R, class... Args>
struct TFunc {
  R (*Code)(void* data, Args... args) = nullptr;
  void* Data = nullptr;

  explicit operator bool() const { return Code != nullptr; }
  R operator()(Args... args) const { return Code(Data, std::forward<Args>(args)...); }
  bool operator==(const TFunc& other) const { return Code == other.Code && Data == other.Data; }
};

template <auto Handler, class R, class... Args, class T>
TFunc<R, Args...> MakeFunc(T* receiver) {
  TFunc<R, Args...> f;
  f.Code = [](void* data, Args... args) -> R {
    return (static_cast<T*>(data)->*Handler)(std::forward<Args>(args)...);
  };
  f.Data = receiver;
  return f;
}
