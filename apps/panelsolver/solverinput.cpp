#include "apps/panelsolver/solverinput.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <fstream>
#include <set>
#include <sstream>

namespace panelsolver {

namespace {

// Values are split as the main program splits the solver's result lines:
// digits, ".", "-", "E" and "+" make up a number, any other character
// separates. A letter is only allowed after the values a line must hold (the
// writer ends node and panel lines with "node ID: k" and "panelID: k"): a
// letter among or against the values would otherwise turn "nan" into a
// separator and "1.5e-3" into two numbers, and the solver would go on with
// coordinates nobody wrote.
bool isNumberChar(char c)
{
    return (c >= '0' && c <= '9') || c == '.' || c == '-' || c == 'E' || c == '+';
}

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// The first `count` values of text[from..], as text. False with the problem
// when the line holds fewer or a letter comes first.
bool splitValues(const std::string& text, size_t from, int count, std::vector<std::string>* out,
                 std::string* problem)
{
    out->clear();
    size_t i = from;
    while (static_cast<int>(out->size()) < count) {
        while (i < text.size() && !isNumberChar(text[i])) {
            if (isLetter(text[i])) {
                *problem = "a value is not a number";
                return false;
            }
            ++i;
        }
        if (i >= text.size()) {
            *problem = "expected " + std::to_string(count) + " values, found "
                       + std::to_string(out->size());
            return false;
        }
        const size_t start = i;
        while (i < text.size() && isNumberChar(text[i]))
            ++i;
        if (i < text.size() && isLetter(text[i])) {
            *problem = "a value is not a number";
            return false;
        }
        out->push_back(text.substr(start, i - start));
    }
    return true;
}

// The conversions ignore the process locale: the solver library also runs
// inside programs that set one.
bool toReal(const std::string& s, double* v)
{
    const char* first = s.data();
    const char* last = s.data() + s.size();
    if (first != last && *first == '+') {
        ++first;
        if (first != last && (*first == '+' || *first == '-'))
            return false;
    }
    const auto r = std::from_chars(first, last, *v, std::chars_format::general);
    return r.ec == std::errc() && r.ptr == last && std::isfinite(*v);
}

bool toInteger(const std::string& s, long long* v)
{
    const char* first = s.data();
    const char* last = s.data() + s.size();
    if (first != last && *first == '+') {
        ++first;
        if (first != last && (*first == '+' || *first == '-'))
            return false;
    }
    const auto r = std::from_chars(first, last, *v);
    return r.ec == std::errc() && r.ptr == last;
}

// The lines of the text with their numbers (from 1), line feeds and
// carriage returns removed.
class Lines
{
public:
    explicit Lines(const std::string& text)
    {
        size_t start = 0;
        while (start < text.size()) {
            size_t end = text.find('\n', start);
            if (end == std::string::npos)
                end = text.size();
            std::string line = text.substr(start, end - start);
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            lines_.push_back(std::move(line));
            start = end + 1;
        }
    }

    // The next line that holds something other than blanks or a comment.
    bool nextData(std::string* line, int* number)
    {
        while (next_ < lines_.size()) {
            const std::string& l = lines_[next_++];
            const size_t first = l.find_first_not_of(" \t\v\f");
            if (first == std::string::npos || l[first] == '#')
                continue;
            *line = l;
            *number = static_cast<int>(next_);
            return true;
        }
        return false;
    }

private:
    std::vector<std::string> lines_;
    size_t next_ = 0;
};

class Parser
{
public:
    Parser(const std::string& text, SolverInput* in) : lines_(text), in_(in) {}

    bool run(std::string* why);

private:
    bool fail(const std::string& problem)
    {
        *why_ = "line " + std::to_string(lineNo_) + ": " + problem;
        return false;
    }
    bool reals(const std::string& text, size_t from, int count, double* out, const char* what);
    bool integers(const std::string& text, size_t from, int count, long long* out, const char* what);
    bool count(const std::string& text, size_t from, const char* keyword, int* n);
    bool dataLine(std::string* line, const std::string& missing);
    bool caseList(const std::string& line, size_t from);
    bool origin(const std::string& line, size_t from);
    bool nodeList(const std::string& line, size_t from);
    bool panelList(const std::string& line, size_t from);

    Lines lines_;
    SolverInput* in_;
    std::string* why_ = nullptr;
    int lineNo_ = 0;
    std::vector<std::string> fields_;
    std::string problem_;
};

bool Parser::reals(const std::string& text, size_t from, int n, double* out, const char* what)
{
    if (!splitValues(text, from, n, &fields_, &problem_))
        return fail(std::string(what) + ": " + problem_);
    for (int k = 0; k < n; ++k)
        if (!toReal(fields_[k], &out[k]))
            return fail(std::string(what) + ": \"" + fields_[k] + "\" is not a finite number");
    return true;
}

bool Parser::integers(const std::string& text, size_t from, int n, long long* out, const char* what)
{
    if (!splitValues(text, from, n, &fields_, &problem_))
        return fail(std::string(what) + ": " + problem_);
    for (int k = 0; k < n; ++k)
        if (!toInteger(fields_[k], &out[k]))
            return fail(std::string(what) + ": \"" + fields_[k] + "\" is not a whole number");
    return true;
}

bool Parser::count(const std::string& text, size_t from, const char* keyword, int* n)
{
    long long v = 0;
    if (!integers(text, from, 1, &v, keyword))
        return false;
    if (v < 0 || v > INT_MAX / 4)
        return fail(std::string(keyword) + " " + std::to_string(v) + " is out of range");
    *n = static_cast<int>(v);
    return true;
}

bool Parser::dataLine(std::string* line, const std::string& missing)
{
    if (!lines_.nextData(line, &lineNo_)) {
        *why_ = "the file ends " + missing;
        return false;
    }
    return true;
}

bool Parser::caseList(const std::string& line, size_t from)
{
    int n = 0;
    if (!count(line, from, "CASE_NUM", &n))
        return false;
    if (n < 1)
        return fail("CASE_NUM must be at least 1");
    std::string l;
    for (std::vector<double>* list : {&in_->alpha, &in_->beta}) {
        const bool isAlpha = list == &in_->alpha;
        if (!dataLine(&l, isAlpha ? "before the angles of attack" : "before the sideslip angles"))
            return false;
        list->assign(n, 0.0);
        if (!reals(l, 0, n, list->data(), isAlpha ? "angles of attack" : "sideslip angles"))
            return false;
    }
    return true;
}

// "ORIGIN *" puts the point on the next line.
bool Parser::origin(const std::string& line, size_t from)
{
    std::string at = line;
    if (line.find_first_of("0123456789", from) == std::string::npos) {
        if (!dataLine(&at, "before the reference point"))
            return false;
        from = 0;
    }
    double r[3];
    if (!reals(at, from, 3, r, "reference point"))
        return false;
    in_->origin = Vec3(r[0], r[1], r[2]);
    return true;
}

bool Parser::nodeList(const std::string& line, size_t from)
{
    int n = 0;
    if (!count(line, from, "NODES", &n))
        return false;
    // The count is not trusted for memory: the list grows with the lines
    // actually there.
    in_->nodes.clear();
    std::string l;
    double xyz[3];
    for (int k = 0; k < n; ++k) {
        if (!dataLine(&l, "after " + std::to_string(k) + " of " + std::to_string(n) + " nodes"))
            return false;
        if (!reals(l, 0, 3, xyz, "node coordinates"))
            return false;
        in_->nodes.emplace_back(xyz[0], xyz[1], xyz[2]);
    }
    return true;
}

bool Parser::panelList(const std::string& line, size_t from)
{
    int n = 0;
    if (!count(line, from, "PANELS", &n))
        return false;
    in_->panels.clear();
    std::string l;
    long long v[9];
    for (int k = 0; k < n; ++k) {
        if (!dataLine(&l, "after " + std::to_string(k) + " of " + std::to_string(n) + " panels"))
            return false;
        if (!integers(l, 0, 1, v, "panel type"))
            return false;
        InputPanel p;
        if (v[0] != kSurfaceQuad && v[0] != kSurfaceTriangle && v[0] != kWakeQuad)
            return fail("panel " + std::to_string(k + 1) + " has the unknown type " + std::to_string(v[0]));
        p.type = static_cast<int>(v[0]);
        const int corners = p.cornerCount();
        if (!integers(l, 0, 1 + 2 * corners, v, "panel"))
            return false;
        for (int c = 0; c < corners; ++c) {
            const long long node = v[1 + c];
            const long long nb = v[1 + corners + c];
            if (node < INT_MIN || node > INT_MAX || nb < INT_MIN || nb > INT_MAX)
                return fail("panel " + std::to_string(k + 1) + ": a number is out of range");
            p.nodes[c] = static_cast<int>(node);
            p.neighbours[c] = static_cast<int>(nb);
        }
        in_->panels.push_back(p);
    }
    return true;
}

bool Parser::run(std::string* why)
{
    why_ = why;
    int results = 1;
    // The keywords that hold one value on their own line.
    const struct {
        const char* key;
        double* real;
        int* integer;
    } scalars[] = {{"AIRSPEED", &in_->airspeed, nullptr}, {"DENSITY", &in_->density, nullptr},
                   {"PRESSURE", &in_->pressure, nullptr}, {"MACH", &in_->mach, nullptr},
                   {"WINGSPAN", &in_->span, nullptr},     {"MAC", &in_->mac, nullptr},
                   {"SURFACE", &in_->surface, nullptr},   {"ERROR", &in_->error, nullptr},
                   {"COLLDIST", &in_->collDist, nullptr}, {"FARFIELD", &in_->farField, nullptr},
                   {"METHOD", nullptr, &in_->method},     {"COLLCALC", nullptr, &in_->collCalc},
                   {"VELORDER", nullptr, &in_->velOrder}, {"RESULTS", nullptr, &results}};
    std::set<std::string> seen;
    std::string line;
    while (lines_.nextData(&line, &lineNo_)) {
        const size_t start = line.find_first_not_of(" \t\v\f");
        size_t end = line.find_first_of(" \t\v\f", start);
        if (end == std::string::npos)
            end = line.size();
        const std::string key = line.substr(start, end - start);
        bool ok = true;
        if (key == "CASE_NUM") {
            ok = caseList(line, end);
        } else if (key == "ORIGIN") {
            ok = origin(line, end);
        } else if (key == "NODES") {
            ok = nodeList(line, end);
        } else if (key == "PANELS") {
            ok = panelList(line, end);
        } else {
            // Other lines (the title, "VERSION", the line of result kinds
            // after "RESULTS") carry nothing the solver needs.
            const auto it = std::find_if(std::begin(scalars), std::end(scalars),
                                         [&key](const auto& k) { return key == k.key; });
            if (it == std::end(scalars))
                continue;
            long long v = 0;
            ok = it->real ? reals(line, end, 1, it->real, it->key) : integers(line, end, 1, &v, it->key);
            if (it->integer)
                *it->integer = static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
        }
        if (!ok)
            return false;
        seen.insert(key);
    }
    // The result file always holds what the main program reads; the kinds
    // of results listed after "RESULTS" do not change it.
    in_->writeResults = results != 0;
    for (const char* key : {"AIRSPEED", "CASE_NUM", "WINGSPAN", "MAC", "SURFACE", "NODES", "PANELS"})
        if (!seen.count(key)) {
            *why = std::string("no ") + key + " in the file (is it complete?)";
            return false;
        }
    return true;
}

double area2(const Vec3& a, const Vec3& b, const Vec3& c, const Vec3& d)
{
    return norm(cross(c - a, d - b)); // twice the area of a quadrilateral
}

} // namespace

bool Check_Solver_Input(const SolverInput& in, std::string* why)
{
    auto fail = [why](const std::string& problem) {
        *why = problem;
        return false;
    };
    if (in.method != 0)
        return fail("METHOD " + std::to_string(in.method) + " is not supported (only 0, constant source/doublet)");
    if (in.mach != 0)
        return fail("MACH must be 0: no compressibility correction is supported");
    if (in.velOrder < 0 || in.velOrder > 2)
        return fail("VELORDER must be 0, 1 or 2");
    if (!(in.airspeed > 0))
        return fail("AIRSPEED must be positive");
    if (!(in.density > 0))
        return fail("DENSITY must be positive");
    if (!(in.span > 0) || !(in.mac > 0) || !(in.surface > 0))
        return fail("WINGSPAN, MAC and SURFACE must be positive");
    if (!(in.farField >= 1))
        return fail("FARFIELD must be at least 1");
    if (!(in.collDist >= 0))
        return fail("COLLDIST must not be negative");
    if (in.alpha.empty() || in.alpha.size() != in.beta.size())
        return fail("the case list is empty");

    const int nodeCount = static_cast<int>(in.nodes.size());
    const int panelCount = static_cast<int>(in.panels.size());
    // Areas are judged against the size of the whole mesh, so that the test
    // does not depend on the unit of length.
    Vec3 lo(HUGE_VAL, HUGE_VAL, HUGE_VAL), hi(-HUGE_VAL, -HUGE_VAL, -HUGE_VAL);
    for (const Vec3& p : in.nodes) {
        if (!isFinite(p))
            return fail("a node coordinate is not a finite number");
        lo = Vec3(std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z));
        hi = Vec3(std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z));
    }
    const double size = nodeCount > 0 ? norm(hi - lo) : 0.0;
    const double minArea2 = 1e-12 * size * size;

    int surfaceCount = 0;
    for (int k = 0; k < panelCount; ++k) {
        const InputPanel& p = in.panels[k];
        const std::string name = "panel " + std::to_string(k + 1);
        const int corners = p.cornerCount();
        for (int c = 0; c < corners; ++c) {
            if (p.nodes[c] < 1 || p.nodes[c] > nodeCount)
                return fail(name + " names node " + std::to_string(p.nodes[c]) + ", which does not exist");
            if (p.neighbours[c] < 0 || p.neighbours[c] > panelCount)
                return fail(name + " names neighbour " + std::to_string(p.neighbours[c])
                            + ", which does not exist");
        }
        const Vec3& a = in.nodes[p.nodes[0] - 1];
        const Vec3& b = in.nodes[p.nodes[1] - 1];
        const Vec3& c = in.nodes[p.nodes[2] - 1];
        const Vec3& d = corners == 4 ? in.nodes[p.nodes[3] - 1] : a;
        if (!p.isWake()) {
            if (!(area2(a, b, c, d) > minArea2))
                return fail(name + " has no area");
            ++surfaceCount;
            continue;
        }
        // The solver carries a wake from its trailing-edge segment (its first
        // two nodes) straight downstream: its far nodes may lie anywhere, but
        // the segment must lie across the flow.
        if (!(norm(cross(b - a, Vec3(1, 0, 0))) > 1e-6 * size))
            return fail("wake " + name + " leaves no trailing edge across the flow");
        const int up = p.neighbours[0], low = p.neighbours[1];
        if (up < 1 || low < 1 || up == low || in.panels[up - 1].isWake() || in.panels[low - 1].isWake())
            return fail("wake " + name + " does not name the two surface panels it leaves");
    }
    if (surfaceCount == 0)
        return fail("the mesh has no surface panels");
    return true;
}

bool Parse_Solver_Input(const std::string& text, SolverInput* in, std::string* why)
{
    *in = SolverInput();
    Parser parser(text, in);
    return parser.run(why) && Check_Solver_Input(*in, why);
}

bool Read_Solver_Input(const std::string& path, SolverInput* in, std::string* why)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        *why = "cannot open " + path;
        return false;
    }
    std::ostringstream text;
    text << file.rdbuf();
    if (file.bad()) {
        *why = "cannot read " + path;
        return false;
    }
    return Parse_Solver_Input(text.str(), in, why);
}

} // namespace panelsolver
