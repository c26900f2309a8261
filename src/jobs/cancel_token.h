#pragma once

#include <atomic>
#include <memory>

// A flag a background job polls between its steps: it turns true once the job's owner
// cancelled it, replaced it with a newer one, or went away. Copies share the flag. It is
// callable, so it goes wherever a core routine asks for a `std::function<bool()>` check.
class CancelToken
{
public:
    bool canceled() const { return m_flag->load(std::memory_order_relaxed); }
    bool operator()() const { return canceled(); }
    void cancel() const { m_flag->store(true, std::memory_order_relaxed); }

private:
    std::shared_ptr<std::atomic<bool>> m_flag = std::make_shared<std::atomic<bool>>(false);
};
