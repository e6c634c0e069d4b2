#pragma once

// A table the recompute derives from the design's inputs (grids, rib curves,
// arc lengths, oversizes). It lives on the heap, outside the record, and is
// indexed as the plain array it replaces: table[a][b][c].
//
// Copies share the table until one of them writes to it (copy on write), so
// a copy of the record - an editor's backup, a file being read, a design
// kept to compare with - costs only the record's inputs, and a backup
// written back on Cancel brings back exactly the tables it was taken with.
// A table nobody has written reads as zeros and takes no memory.
//
// Writing means any access through a non-const record: take references into
// a table only for as long as no copy of the record is made.

#include <cstddef>
#include <memory>
#include <type_traits>

template <typename Array>
class DerivedTable
{
    static_assert(std::is_array_v<Array>, "a derived table is an array");
    using Row = std::remove_extent_t<Array>;

public:
    static constexpr std::size_t size() { return std::extent_v<Array>; }

    const Row& operator[](std::size_t i) const { return values()[i]; }
    Row& operator[](std::size_t i) { return values()[i]; }

    // The whole table, for reading.
    const Array& values() const { return storage ? storage->values : zeros().values; }
    // The whole table, for writing: a table shared with a copy is copied first.
    Array& values()
    {
        if (!storage)
            storage = std::make_shared<Box>();
        else if (storage.use_count() > 1)
            storage = std::make_shared<Box>(*storage);
        return storage->values;
    }

    // True while this table shares its storage with another record's.
    bool sharedWith(const DerivedTable& other) const { return storage && storage == other.storage; }
    // Back to zeros, giving the storage up.
    void clear() { storage.reset(); }

private:
    struct Box {
        Array values{};
    };
    static const Box& zeros()
    {
        static const Box none{};
        return none;
    }
    std::shared_ptr<Box> storage;
};
