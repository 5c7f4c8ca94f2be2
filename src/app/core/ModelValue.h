#pragma once

#include <functional>
#include <utility>

namespace orvane {

// One value of a model: reads like the plain value, and every write that changes it calls the
// model's change notice (which emits the model's signal) after the value is stored. Writing
// the value it already holds notifies nobody. Not thread-safe: models live on the
// user-interface thread.
template <class T>
class ModelValue {
public:
    using Notice = std::function<void(const T&)>;

    explicit ModelValue(Notice changed, T initial = T{})
        : value_(std::move(initial)), changed_(std::move(changed)) {}
    ModelValue(const ModelValue&) = delete;
    ModelValue& operator=(const ModelValue&) = delete;

    operator const T&() const { return value_; }
    const T& Get() const { return value_; }

    ModelValue& operator=(T value) {
        if (!(value == value_)) {
            value_ = std::move(value);
            if (changed_) {
                changed_(value_);
            }
        }
        return *this;
    }
    ModelValue& operator+=(const T& delta) { return *this = value_ + delta; }
    ModelValue& operator-=(const T& delta) { return *this = value_ - delta; }
    ModelValue& operator++() { return *this = value_ + 1; }
    ModelValue& operator--() { return *this = value_ - 1; }

private:
    T value_;
    Notice changed_;
};

}  // namespace orvane
