#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

namespace penarin::race {

// Gives back what the solver keeps for the calling thread between problems
// (GLPK keeps one environment per thread and frees it only when asked).
// No problem may be solving on this thread when it is called.
void ReleaseSolverThreadMemory();

// A problem over bounded integer variables: does some integer point
// satisfy every row (and, with an objective, which one is cheapest)? Rows and bounds are integers,
// so the problems the race analysis builds are exact; the solver's answer is checked against the
// season again before anything is reported (see race.cpp).
class IntegerProgram
{
public:
    struct Term
    {
        int variable;
        std::int64_t coefficient;
    };

    enum class Outcome
    {
        Feasible,
        Infeasible,
        TimedOut,
        Stopped // the stop flag was raised while the solver ran
    };

    // A variable lower..upper (both inclusive); returns its index.
    int addVariable(std::int64_t lower, std::int64_t upper);
    // A variable that may take any real value in lower..upper, for rows that
    // only tighten the relaxation of the integer ones (its value is not read).
    int addContinuousVariable(std::int64_t lower, std::int64_t upper);
    [[nodiscard]] bool integral(int variable) const { return m_integral[variable] != 0; }
    // lower <= sum of terms <= upper.
    void addRow(std::vector<Term> terms, std::int64_t lower, std::int64_t upper);
    // sum of terms >= lower.
    void addAtLeast(std::vector<Term> terms, std::int64_t lower);
    // sum of terms <= upper.
    void addAtMost(std::vector<Term> terms, std::int64_t upper);

    [[nodiscard]] std::int64_t lower(int variable) const { return m_lower[variable]; }
    [[nodiscard]] std::int64_t upper(int variable) const { return m_upper[variable]; }
    void setLower(int variable, std::int64_t value) { m_lower[variable] = value; }
    void setUpper(int variable, std::int64_t value) { m_upper[variable] = value; }

    [[nodiscard]] int variableCount() const { return static_cast<int>(m_lower.size()); }
    [[nodiscard]] int rowCount() const { return static_cast<int>(m_rows.size()); }

    // An objective to minimise; without one any feasible point will do.
    // With one, a time limit that runs out after a point was found still
    // gives Feasible and the best point so far.
    void setObjective(std::vector<Term> terms) { m_objective = std::move(terms); }
    // Read while the solver runs: once it holds true the solver gives up
    // (Stopped), so an analysis nobody waits for stops at once.
    void setStopFlag(const std::atomic<bool> *stop) { m_stop = stop; }
    // Gives up (TimedOut) once the search has done this much work: the
    // subproblems it made times the problem's nonzero coefficients, the
    // rough cost of each; 0 for no such limit. Unlike the time limit, it
    // ends the search at the same point however busy the machine is.
    void setWorkLimit(std::int64_t work) { m_workLimit = work; }

    // Looks for a feasible point. With Feasible, value() reads it.
    [[nodiscard]] Outcome solve(std::chrono::milliseconds timeLimit);
    [[nodiscard]] std::int64_t value(int variable) const { return m_values[variable]; }

    // Unbounded sides of a row.
    static constexpr std::int64_t NoLimit = std::numeric_limits<std::int64_t>::max();
    static constexpr std::int64_t NoLowerLimit = std::numeric_limits<std::int64_t>::min();

private:
    // The solver proper, one per backend (GLPK in the program).
    Outcome solveWithSolver(std::chrono::milliseconds timeLimit);

    struct Row
    {
        std::vector<Term> terms;
        std::int64_t lower;
        std::int64_t upper;
    };

    std::vector<std::int64_t> m_lower;
    std::vector<std::int64_t> m_upper;
    std::vector<char> m_integral;
    std::vector<Row> m_rows;
    std::vector<std::int64_t> m_values;
    std::vector<Term> m_objective;
    const std::atomic<bool> *m_stop = nullptr;
    std::int64_t m_workLimit = 0;
};

} // namespace penarin::race
