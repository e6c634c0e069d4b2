// The replay of a fuzz harness in the ordinary test build: every file of the
// seed corpus, then a fixed number of mutations of them made by a seeded
// generator, so that each run feeds the reader the same inputs. The real
// fuzzer (-DWL_FUZZ=ON with clang) links the harness to libFuzzer instead.
//
//   fuzz_<reader> <corpus folder>[:<folder>...] <mutations>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) __attribute__((weak));

namespace {

using Bytes = std::vector<uint8_t>;

struct Random {
    uint64_t state;
    uint64_t next()
    {
        uint64_t z = (state += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    size_t below(size_t n) { return n ? size_t(next() % n) : 0; }
};

// Values that readers tend to mishandle, as the big-endian bytes a Qt data
// stream or a text file would hold them.
const uint64_t specialDoubles[] = {
    0x7ff8000000000000ULL, // NaN
    0x7ff0000000000000ULL, // +inf
    0xfff0000000000000ULL, // -inf
    0x7e37e43c8800759cULL, // 1e300
    0x8000000000000000ULL, // -0
    0x0000000000000001ULL, // smallest subnormal
    0x0000000000000000ULL,
};
const uint32_t specialInts[] = {0, 1, 2, 0xffffffffu, 0x7fffffffu, 0x80000000u, 1000, 1170, 65, 66, 4096};
const char* specialTexts[] = {"nan", "inf", "-inf", "1e308", "1e-320", "0", "-0", ",", ".", "-", "e", "1e",
                              "\n", "\t", " ", "#", "99999999999999999999", "0.0 0.0\n", "1 0\n"};

void putBigEndian(Bytes& b, size_t at, uint64_t v, int bytes)
{
    for (int k = 0; k < bytes && at + size_t(k) < b.size(); ++k)
        b[at + size_t(k)] = uint8_t(v >> (8 * (bytes - 1 - k)));
}

void mutateOnce(Bytes& b, Random& r, const std::vector<Bytes>& corpus)
{
    const size_t n = b.size();
    switch (r.below(10)) {
    case 0: // flip one bit
        if (n)
            b[r.below(n)] ^= uint8_t(1u << r.below(8));
        break;
    case 1: // one byte to an edge value
        if (n) {
            const uint8_t edge[] = {0x00, 0xff, 0x7f, 0x80, 0x01, 0x09, '0', '-', '.', 'e'};
            b[r.below(n)] = edge[r.below(sizeof edge)];
        }
        break;
    case 2: // a double with a special value
        if (n)
            putBigEndian(b, r.below(n), specialDoubles[r.below(std::size(specialDoubles))], 8);
        break;
    case 3: // a 32-bit count or index with an edge value
        if (n)
            putBigEndian(b, r.below(n), specialInts[r.below(std::size(specialInts))], 4);
        break;
    case 4: // cut the input
        b.resize(r.below(n + 1));
        break;
    case 5: { // drop a run of bytes
        if (!n)
            break;
        const size_t at = r.below(n);
        const size_t len = 1 + r.below(std::min<size_t>(n - at, 64));
        b.erase(b.begin() + long(at), b.begin() + long(at + len));
        break;
    }
    case 6: { // repeat a run of bytes
        if (!n)
            break;
        const size_t at = r.below(n);
        const size_t len = 1 + r.below(std::min<size_t>(n - at, 64));
        Bytes run(b.begin() + long(at), b.begin() + long(at + len));
        b.insert(b.begin() + long(r.below(n + 1)), run.begin(), run.end());
        break;
    }
    case 7: { // insert a text that number parsers tend to mishandle
        const char* t = specialTexts[r.below(std::size(specialTexts))];
        b.insert(b.begin() + long(r.below(n + 1)), t, t + std::strlen(t));
        break;
    }
    case 8: { // splice the tail of another corpus file
        const Bytes& other = corpus[r.below(corpus.size())];
        b.resize(r.below(n + 1));
        const size_t from = r.below(other.size() + 1);
        b.insert(b.end(), other.begin() + long(from), other.end());
        break;
    }
    default: // append random bytes
        for (size_t k = 1 + r.below(16); k > 0; --k)
            b.push_back(uint8_t(r.next()));
        break;
    }
}

bool readFile(const std::string& path, Bytes* out)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    out->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <corpus folder>[:<folder>...] <mutations>\n", argv[0]);
        return 2;
    }
    const std::string folders = argv[1];
    const long mutations = std::strtol(argv[2], nullptr, 10);
    if (LLVMFuzzerInitialize)
        LLVMFuzzerInitialize(&argc, &argv);

    // Every folder's files in name order, folder after folder.
    std::vector<Bytes> corpus;
    for (size_t from = 0; from <= folders.size();) {
        const size_t to = std::min(folders.find(':', from), folders.size());
        const std::string folder = folders.substr(from, to - from);
        from = to + 1;
        std::vector<std::string> names;
        if (DIR* dir = opendir(folder.c_str())) {
            while (dirent* e = readdir(dir))
                if (e->d_name[0] != '.')
                    names.push_back(e->d_name);
            closedir(dir);
        }
        std::sort(names.begin(), names.end());
        for (const std::string& name : names) {
            Bytes b;
            if (readFile(folder + "/" + name, &b))
                corpus.push_back(std::move(b));
        }
    }
    if (corpus.empty()) {
        std::fprintf(stderr, "no seed files in %s\n", folders.c_str());
        return 1;
    }

    for (const Bytes& b : corpus)
        LLVMFuzzerTestOneInput(b.data(), b.size());

    Random r{20240611};
    long done = 0;
    Bytes b; // reused: a fresh buffer per input would cost more than many a read
    for (; done < mutations; ++done) {
        const Bytes& seed = corpus[size_t(done) % corpus.size()];
        b.assign(seed.begin(), seed.end());
        for (size_t k = 1 + r.below(3); k > 0; --k)
            mutateOnce(b, r, corpus);
        LLVMFuzzerTestOneInput(b.data(), b.size());
    }
    std::printf("%zu seed files and %ld mutations replayed\n", corpus.size(), done);
    return 0;
}
