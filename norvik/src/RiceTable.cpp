#include "RiceTable.h"

#include <array>
#include <bit>
#include <vector>

namespace norvik {

namespace {

// Above it a code with no leading zero already fills the table's bits.
constexpr unsigned kLargestTabledK = kRiceTableBits - 2;

using Table = std::array<RiceEntry, size_t{1} << kRiceTableBits>;

Table build(unsigned k) {
    Table table{};
    for (uint32_t bits = 0; bits <= kRiceTableMask; ++bits) {
        const unsigned q = static_cast<unsigned>(std::countr_zero(bits | (1u << kRiceTableBits)));
        const unsigned length = q + 1 + k;
        if (length > kRiceTableBits) continue;
        const uint32_t z = (q << k) | ((bits >> (q + 1)) & ((1u << k) - 1u));
        table[bits] = static_cast<RiceEntry>(static_cast<uint32_t>(unzigzag(z)) << 8 | length);
    }
    return table;
}

const std::vector<Table>& allTables() {
    static const std::vector<Table> tables = [] {
        std::vector<Table> all;
        for (unsigned parameter = 0; parameter <= kLargestTabledK + 1; ++parameter)
            all.push_back(parameter <= kLargestTabledK ? build(parameter) : Table{});
        return all;
    }();
    return tables;
}

}  // namespace

const RiceEntry* riceTable(unsigned k) { return allTables()[k <= kLargestTabledK ? k : kLargestTabledK + 1].data(); }

const RiceEntry* emptyRiceTable() { return allTables()[kLargestTabledK + 1].data(); }

}  // namespace norvik
