#include "apps/panelsolver/solverresults.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <fstream>

namespace panelsolver {

namespace {

class Writer
{
public:
    explicit Writer(std::string* text) : text_(text) {}

    void line(const char* s)
    {
        *text_ += ' ';
        *text_ += s;
        *text_ += '\n';
    }
    void integer(long long v)
    {
        *text_ += ' ';
        *text_ += std::to_string(v);
    }
    // Scientific notation with eight decimals, formatted without the
    // process locale.
    void real(double v)
    {
        if (!std::isfinite(v)) {
            finite_ = false;
            v = 0;
        }
        char buf[40];
        const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 8);
        *text_ += ' ';
        for (char* c = buf; c != r.ptr; ++c)
            *text_ += *c == 'e' ? 'E' : *c;
    }
    void line(const Vec3& v)
    {
        real(v.x);
        real(v.y);
        real(v.z);
        end();
    }
    void end() { *text_ += '\n'; }
    bool finite() const { return finite_; }

private:
    std::string* text_;
    bool finite_ = true;
};

} // namespace

bool Format_Solver_Results(const SolverInput& in, const SolverResult& res, std::string* text, std::string* why)
{
    text->clear();
    Writer w(text);
    const int cases = static_cast<int>(res.cases.size());
    w.line("Panel method results");
    w.line("PANEL_NUM");
    w.integer(static_cast<long long>(in.panels.size()));
    w.end();
    w.line("PANEL_NUM_NO_WAKE");
    w.integer(static_cast<long long>(res.surface.size()));
    w.end();
    w.line("NODE_NUM");
    w.integer(static_cast<long long>(in.nodes.size()));
    w.end();
    w.line("CASE_NUM");
    w.integer(cases);
    w.end();
    for (double CaseResult::*angle : {&CaseResult::alpha, &CaseResult::beta}) {
        for (const CaseResult& c : res.cases)
            w.real(c.*angle);
        w.end();
    }
    const std::pair<const char*, double CaseResult::*> coefficients[] = {
        {"CX", &CaseResult::cx}, {"CY", &CaseResult::cy},       {"CZ", &CaseResult::cz},
        {"CL", &CaseResult::cl}, {"CM", &CaseResult::cm},       {"CN", &CaseResult::cn},
        {"CDRAG", &CaseResult::cdrag}, {"CLIFT", &CaseResult::clift}};
    for (const auto& [key, field] : coefficients) {
        w.line(key);
        for (const CaseResult& c : res.cases)
            w.real(c.*field);
        w.end();
    }
    w.line("NODES");
    for (const Vec3& p : in.nodes)
        w.line(p);
    // The panels as the input gave them: the main program colours each panel
    // from its neighbours' pressures.
    w.line("PANELS");
    for (const InputPanel& p : in.panels) {
        w.integer(p.type);
        for (int c = 0; c < 4; ++c)
            w.integer(c < p.cornerCount() ? p.nodes[c] : 0);
        for (int c = 0; c < 4; ++c)
            w.integer(c < p.cornerCount() ? p.neighbours[c] : 0);
        w.end();
    }
    w.line("NORMAL");
    for (const Vec3& n : res.normals)
        w.line(n);
    w.line("CP");
    for (size_t k = 0; k < res.surface.size(); ++k) {
        for (int c = 0; c < cases; ++c)
            w.real(res.pressure(static_cast<int>(k), c));
        w.end();
    }
    if (!w.finite()) {
        *why = "a result is not a finite number";
        return false;
    }
    return true;
}

bool Write_Solver_Results(const std::string& path, const SolverInput& in, const SolverResult& res,
                          std::string* why)
{
    std::string text;
    if (!Format_Solver_Results(in, res, &text, why))
        return false;
    const std::string temporary = path + ".part";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        if (!file) {
            *why = "cannot write " + temporary;
            return false;
        }
        file.write(text.data(), static_cast<std::streamsize>(text.size()));
        file.close();
        if (!file) {
            std::remove(temporary.c_str());
            *why = "cannot write " + temporary;
            return false;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        *why = "cannot write " + path;
        return false;
    }
    return true;
}

} // namespace panelsolver
