// The same problems solved by CBC instead of GLPK. Built only where CBC is
// installed, for the benchmark that compares the two (bench/race_bench.cpp);
// the program itself uses GLPK.

#include "race/integerprogram.h"

#include <coin/Cbc_C_Interface.h>

#include <cmath>
#include <limits>
#include <memory>

namespace penarin::race {

namespace {

struct ModelDeleter
{
    void operator()(Cbc_Model *model) const { Cbc_deleteModel(model); }
};

double asBound(std::int64_t value)
{
    if (value == IntegerProgram::NoLimit) {
        return std::numeric_limits<double>::max();
    }
    if (value == IntegerProgram::NoLowerLimit) {
        return -std::numeric_limits<double>::max();
    }
    return static_cast<double>(value);
}

} // namespace

void ReleaseSolverThreadMemory()
{
    // CBC keeps nothing between problems.
}

IntegerProgram::Outcome IntegerProgram::solveWithSolver(std::chrono::milliseconds timeLimit)
{
    const int columns = static_cast<int>(m_lower.size());
    const int rows = static_cast<int>(m_rows.size());
    // CBC loads the matrix by columns.
    std::vector<std::vector<std::pair<int, double>>> byColumn(static_cast<std::size_t>(columns));
    for (int r = 0; r < rows; ++r) {
        for (const Term &t : m_rows[r].terms) {
            byColumn[t.variable].push_back({r, static_cast<double>(t.coefficient)});
        }
    }
    std::vector<CoinBigIndex> start{0};
    std::vector<int> index;
    std::vector<double> value;
    std::vector<double> columnLower, columnUpper, objective(columns, 0.0), rowLower, rowUpper;
    for (int c = 0; c < columns; ++c) {
        for (const auto &[row, coefficient] : byColumn[c]) {
            index.push_back(row);
            value.push_back(coefficient);
        }
        start.push_back(static_cast<CoinBigIndex>(index.size()));
        columnLower.push_back(asBound(m_lower[c]));
        columnUpper.push_back(asBound(m_upper[c]));
    }
    // The stop flag is read between problems only, and the work limit not
    // at all: this backend serves the solver comparison, not the window.
    for (const Term &t : m_objective) {
        objective[static_cast<std::size_t>(t.variable)] += static_cast<double>(t.coefficient);
    }
    for (const Row &row : m_rows) {
        rowLower.push_back(asBound(row.lower));
        rowUpper.push_back(asBound(row.upper));
    }
    std::unique_ptr<Cbc_Model, ModelDeleter> model(Cbc_newModel());
    Cbc_loadProblem(model.get(), columns, rows, start.data(), index.data(), value.data(),
                    columnLower.data(), columnUpper.data(), objective.data(), rowLower.data(),
                    rowUpper.data());
    for (int c = 0; c < columns; ++c) {
        if (integral(c)) {
            Cbc_setInteger(model.get(), c);
        }
    }
    Cbc_setLogLevel(model.get(), 0);
    Cbc_setMaximumSeconds(model.get(), static_cast<double>(timeLimit.count()) / 1000.0);
    Cbc_solve(model.get());
    if (Cbc_isProvenInfeasible(model.get())) {
        return Outcome::Infeasible;
    }
    if (Cbc_numberSavedSolutions(model.get()) > 0 || Cbc_isProvenOptimal(model.get())) {
        const double *solution = Cbc_getColSolution(model.get());
        for (int c = 0; c < columns; ++c) {
            m_values[c] = static_cast<std::int64_t>(std::llround(solution[c]));
        }
        return Outcome::Feasible;
    }
    return Outcome::TimedOut;
}

} // namespace penarin::race
