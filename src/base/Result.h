// A value or a one-line reason: how every reader and operation reports failure.
#pragma once

#include <optional>
#include <string>
#include <utility>

namespace trellisor {

template <class T>
class [[nodiscard]] Result {
public:
    static Result ok(T value) { return Result(std::move(value)); }
    static Result fail(std::string reason) { return Result(std::move(reason), 0); }

    explicit operator bool() const { return m_value.has_value(); }
    bool isOk() const { return m_value.has_value(); }
    T& value() { return *m_value; }
    const T& value() const { return *m_value; }
    T* operator->() { return &*m_value; }
    const T* operator->() const { return &*m_value; }
    const std::string& error() const { return m_error; }

private:
    explicit Result(T value) : m_value(std::move(value)) {}
    Result(std::string reason, int) : m_error(std::move(reason)) {}

    std::optional<T> m_value;
    std::string m_error;
};

// Success or a one-line reason, for operations without a value.
class [[nodiscard]] Status {
public:
    static Status ok() { return Status(); }
    static Status fail(std::string reason) { return Status(std::move(reason)); }

    explicit operator bool() const { return m_ok; }
    bool isOk() const { return m_ok; }
    const std::string& error() const { return m_error; }

private:
    Status() = default;
    explicit Status(std::string reason) : m_ok(false), m_error(std::move(reason)) {}

    bool m_ok = true;
    std::string m_error;
};

}  // namespace trellisor
