#pragma once

#include "data/ServerWait.h"

#include <exception>
#include <functional>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

namespace talveros::data {

// One piece of work that may run beside others: a plain function and what it reads.
// Workers only read, and this is where that holds: the function can capture nothing,
// so all it reaches is its input, which it gets const, and all it gives back is its
// result. What the input points to must not change until the reads have ended, which
// readSideBySide's callers get by handing in what they own and changing it afterwards.
template <class Input, class Result>
struct Read {
    Result (*work)(const Input &);
    const Input *input;
};

template <class Result>
class ReadOutcome;

// Runs the reads at once, each on a thread of its own but the first, which takes the
// calling thread unless `meanwhile` is given to run there. Returns once every read has
// ended, so no thread outlives the call, with each read's outcome in the order given;
// the caller decides which failure to pass on and what to show before it. A failure of
// `meanwhile` is thrown, after every read has ended, instead.
template <class Input, class Result>
std::vector<ReadOutcome<Result>> readSideBySide(const std::vector<Read<Input, Result>> &reads,
                                                const std::function<void()> &meanwhile = {});

// What one read ended with: its result, or what it threw.
template <class Result>
class ReadOutcome {
public:
    bool failed() const { return bool(m_failure); }
    // The result, or what the read threw, thrown here.
    Result take()
    {
        if (m_failure)
            std::rethrow_exception(m_failure);
        return std::move(*m_result);
    }

private:
    template <class Input, class R>
    friend std::vector<ReadOutcome<R>> readSideBySide(const std::vector<Read<Input, R>> &,
                                                      const std::function<void()> &);
    template <class Input>
    void run(const Read<Input, Result> &read) noexcept
    {
        try {
            m_result.emplace(read.work(*read.input));
        } catch (...) {
            m_failure = std::current_exception();
        }
    }

    std::optional<Result> m_result;
    std::exception_ptr m_failure;
};

template <class Input, class Result>
std::vector<ReadOutcome<Result>> readSideBySide(const std::vector<Read<Input, Result>> &reads,
                                                const std::function<void()> &meanwhile)
{
    std::vector<ReadOutcome<Result>> outcomes(reads.size());
    const size_t here = meanwhile ? reads.size() : 0;
    std::vector<std::thread> workers;
    workers.reserve(reads.size());
    auto joinAll = [&workers] {
        for (std::thread &worker : workers)
            worker.join();
    };
    try {
        for (size_t i = 0; i < reads.size(); ++i) {
            if (i != here)
                workers.emplace_back([&outcome = outcomes[i], read = reads[i]] { outcome.run(read); });
        }
    } catch (...) {
        joinAll();
        throw;
    }
    const std::exception_ptr meanwhileFailure = failureOf(meanwhile);
    if (!meanwhile && !reads.empty())
        outcomes[0].run(reads[0]);
    joinAll();
    if (meanwhileFailure)
        std::rethrow_exception(meanwhileFailure);
    return outcomes;
}

} // namespace talveros::data
