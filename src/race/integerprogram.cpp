#include "race/integerprogram.h"

#include <algorithm>

namespace penarin::race {

int IntegerProgram::addVariable(std::int64_t lower, std::int64_t upper)
{
    m_lower.push_back(lower);
    m_upper.push_back(upper);
    m_integral.push_back(1);
    return static_cast<int>(m_lower.size()) - 1;
}

int IntegerProgram::addContinuousVariable(std::int64_t lower, std::int64_t upper)
{
    const int variable = addVariable(lower, upper);
    m_integral.back() = 0;
    return variable;
}

void IntegerProgram::addRow(std::vector<Term> terms, std::int64_t lower, std::int64_t upper)
{
    // A variable may come in more than once (a team's wins and losses both
    // read a card without draws); the solver wants one coefficient each.
    std::sort(terms.begin(), terms.end(),
              [](const Term &a, const Term &b) { return a.variable < b.variable; });
    std::vector<Term> merged;
    for (const Term &t : terms) {
        if (!merged.empty() && merged.back().variable == t.variable) {
            merged.back().coefficient += t.coefficient;
        } else {
            merged.push_back(t);
        }
    }
    std::erase_if(merged, [](const Term &t) { return t.coefficient == 0; });
    m_rows.push_back({std::move(merged), lower, upper});
}

void IntegerProgram::addAtLeast(std::vector<Term> terms, std::int64_t lower)
{
    addRow(std::move(terms), lower, NoLimit);
}

void IntegerProgram::addAtMost(std::vector<Term> terms, std::int64_t upper)
{
    addRow(std::move(terms), NoLowerLimit, upper);
}

IntegerProgram::Outcome IntegerProgram::solve(std::chrono::milliseconds timeLimit)
{
    m_values.assign(m_lower.size(), 0);
    if (m_stop != nullptr && m_stop->load()) {
        return Outcome::Stopped;
    }
    for (std::size_t v = 0; v < m_lower.size(); ++v) {
        if (m_lower[v] > m_upper[v]) {
            return Outcome::Infeasible;
        }
    }
    // Solvers reject a problem without columns; with no variables every row
    // is a constant and decides alone.
    if (m_lower.empty()) {
        for (const Row &row : m_rows) {
            if (row.lower > 0 || row.upper < 0) {
                return Outcome::Infeasible;
            }
        }
        return Outcome::Feasible;
    }

    return solveWithSolver(timeLimit);
}

} // namespace penarin::race
