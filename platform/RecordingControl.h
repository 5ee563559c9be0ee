// A fake control for tests: logs every put and get with its dispatch id and
// value, answers gets with what the test told it, and raises events on demand.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <vector>

#include "platform/Control.h"

namespace dashvell {

class RecordingControl : public Control {
 public:
  enum class Access { Put, Get };
  struct Entry {
    Access access;
    DispId id;
    Variant value;  // the value put, or the value a get returned
  };

  void PutProperty(DispId id, const Variant& value) override {
    log_.push_back({Access::Put, id, value});
    if (onPut_) onPut_(id, value);
  }
  Variant GetProperty(DispId id) override {
    Variant v;
    auto queued = queued_.find(id);
    if (queued != queued_.end() && !queued->second.empty()) {
      v = queued->second.front();
      queued->second.pop_front();
    } else if (auto fixed = returns_.find(id); fixed != returns_.end()) {
      v = fixed->second;
    }
    log_.push_back({Access::Get, id, v});
    return v;
  }

  // Every get of id returns v (after any queued answers are used up).
  void SetGetResult(DispId id, Variant v) { returns_[id] = std::move(v); }
  // The next get of id returns v, once; several queue in order.
  void QueueGetResult(DispId id, Variant v) { queued_[id].push_back(std::move(v)); }
  // Called on every put, after it is logged: lets a fake react (an open state
  // that follows SetOpenState, a put that throws).
  void OnPut(std::function<void(DispId, const Variant&)> f) { onPut_ = std::move(f); }

  void Raise(DispId eventId) { RaiseEvent(eventId); }

  const std::vector<Entry>& log() const { return log_; }
  void ClearLog() { log_.clear(); }
  std::vector<Entry> Puts(DispId id) const {
    std::vector<Entry> out;
    for (const auto& e : log_)
      if (e.access == Access::Put && e.id == id) out.push_back(e);
    return out;
  }

 private:
  std::vector<Entry> log_;
  std::map<DispId, Variant> returns_;
  std::map<DispId, std::deque<Variant>> queued_;
  std::function<void(DispId, const Variant&)> onPut_;
};

}  // namespace dashvell
