#pragma once
// A global field set to a value for the length of a scope and given back its
// old value when the scope ends, however it ends.
template <class T>
class ScopedValue {
public:
    ScopedValue(T& field, T value) : field_(field), saved_(field) { field_ = value; }
    ~ScopedValue() { field_ = saved_; }
    ScopedValue(const ScopedValue&) = delete;
    ScopedValue& operator=(const ScopedValue&) = delete;

private:
    T& field_;
    T saved_;
};
