#pragma once
// Event<Signature>: the type of every event property (OnClick, OnChange...). It wraps a
// std::function and, when bound to a method, remembers which receiver and method it calls, so
// that two events bound to the same method compare equal, and under which handler name it was
// bound (the name a form description stores).

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <typeindex>
#include <utility>

class TObject;

// The identity of a method binding: receiver, the member-pointer's bytes and its type.
struct TMethodIdentity {
  const void* Receiver = nullptr;
  std::type_index MethodType = typeid(void);
  unsigned char Code[2 * sizeof(void*)] = {};

  bool operator==(const TMethodIdentity& o) const {
    return Receiver == o.Receiver && MethodType == o.MethodType &&
           std::memcmp(Code, o.Code, sizeof Code) == 0;
  }
};

template <class Signature>
class Event;

template <class R, class... Args>
class Event<R(Args...)> {
 public:
  using Function = std::function<R(Args...)>;

  Event() = default;
  Event(std::nullptr_t) {}  // NOLINT
  // A plain callable (lambda, free function): equal only to copies of itself.
  template <class F, class = std::enable_if_t<std::is_invocable_r_v<R, F, Args...> &&
                                              !std::is_same_v<std::decay_t<F>, Event>>>
  Event(F&& f) : FFunction(Share(std::forward<F>(f))), FId(std::make_shared<int>(0)) {}  // NOLINT

  // Binds a method of a receiver: Event<void(TObject*)>::Bind(this, &TMainForm::ButtonClick).
  template <class C, class M>
  static Event Bind(C* receiver, M C::*method, std::string handlerName = {}) {
    Event e;
    e.FFunction = Share([receiver, method](Args... args) -> R {
      return (receiver->*method)(std::forward<Args>(args)...);
    });
    TMethodIdentity id;
    id.Receiver = receiver;
    id.MethodType = typeid(M C::*);
    static_assert(sizeof(method) <= sizeof id.Code, "member pointer too large");
    std::memcpy(id.Code, &method, sizeof(method));
    e.FMethod = std::make_shared<TMethodIdentity>(id);
    e.FHandlerName = std::move(handlerName);
    return e;
  }

  explicit operator bool() const { return static_cast<bool>(FFunction); }
  bool Assigned() const { return static_cast<bool>(FFunction); }

  // A handler may free the object that holds this event, or assign the event anew, and still
  // go on using what it captured: the callable lives until the call returns.
  R operator()(Args... args) const {
    if (!FFunction) throw std::bad_function_call();
    std::shared_ptr<const Function> running = FFunction;
    return (*running)(std::forward<Args>(args)...);
  }

  bool operator==(const Event& o) const {
    if (!FFunction || !o.FFunction) return !FFunction && !o.FFunction;
    if (FMethod && o.FMethod) return *FMethod == *o.FMethod;
    return FId && FId == o.FId;
  }
  bool operator==(std::nullptr_t) const { return !FFunction; }

  // The receiver when bound to a method (the platform's TMethod.Data).
  const void* Receiver() const { return FMethod ? FMethod->Receiver : nullptr; }
  // The handler name given at binding (form descriptions), or empty.
  const std::string& HandlerName() const { return FHandlerName; }
  void SetHandlerName(std::string name) { FHandlerName = std::move(name); }
  const Function& Target() const {
    static const Function none;
    return FFunction ? *FFunction : none;
  }

 private:
  template <class F>
  static std::shared_ptr<const Function> Share(F&& f) {
    Function fn(std::forward<F>(f));
    return fn ? std::make_shared<const Function>(std::move(fn)) : nullptr;
  }

  std::shared_ptr<const Function> FFunction;
  std::shared_ptr<const TMethodIdentity> FMethod;
  std::shared_ptr<int> FId;
  std::string FHandlerName;
};

// The most common event: a notification with its sender.
using TNotifyEvent = Event<void(TObject* Sender)>;
