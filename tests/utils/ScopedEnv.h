#pragma once
// Sets an environment variable for one scope and puts the old value back.
#include <cstdlib>
#include <string>

namespace lexivar::test {

class ScopedEnv final {
public:
    ScopedEnv(const char* name, const std::string& value) : m_name(name)
    {
        const char* old = std::getenv(name);
        m_had = old != nullptr;
        if (m_had) m_old = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv()
    {
        if (m_had) setenv(m_name.c_str(), m_old.c_str(), 1);
        else unsetenv(m_name.c_str());
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string m_name;
    std::string m_old;
    bool m_had = false;
};

}  // namespace lexivar::test
