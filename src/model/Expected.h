#pragma once

#include <optional>
#include <utility>
#include <variant>

// A value, or the error that prevented it. The caller must look at which one it got:
// every function that can fail returns one, and ignoring it does not compile quietly.
template <typename T, typename E>
class [[nodiscard]] Expected
{
public:
    Expected(T value)
        : m_content(std::in_place_index<0>, std::move(value))
    {
    }
    Expected(E error)
        : m_content(std::in_place_index<1>, std::move(error))
    {
    }

    bool hasValue() const { return m_content.index() == 0; }
    explicit operator bool() const { return hasValue(); }

    const T &value() const & { return std::get<0>(m_content); }
    T &&value() && { return std::get<0>(std::move(m_content)); }
    const E &error() const { return std::get<1>(m_content); }

private:
    std::variant<T, E> m_content;
};

// Success with nothing to give back (`return {};`), or the error that prevented it.
template <typename E>
class [[nodiscard]] Expected<void, E>
{
public:
    Expected() = default;
    Expected(E error)
        : m_error(std::move(error))
    {
    }

    bool hasValue() const { return !m_error.has_value(); }
    explicit operator bool() const { return hasValue(); }

    const E &error() const { return m_error.value(); }

private:
    std::optional<E> m_error;
};
