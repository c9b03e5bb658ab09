#include "inventory/Booking.h"

#include <cstdint>
#include <cstdio>

#include "inventory/InventoryStock.h"

namespace tallora {

namespace {

// The section key as it was before letters beyond ASCII were matched without case: a
// calculation booked then is still known as booked.
std::string IdentitySectionKey(const std::string& section) {
    std::string key = section;
    const std::size_t start = key.find_first_not_of(" \t\r\n");
    key.erase(0, start == std::string::npos ? key.size() : start);
    key.erase(key.find_last_not_of(" \t\r\n") + 1);
    for (char& c : key) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return key;
}

// FNV-1a, 64 bits; two of them from different starts give the identity its 128 bits.
class Digest {
public:
    void Add(std::string_view text) {
        // Each field is ended, so that "ab","c" and "a","bc" differ.
        for (unsigned char c : text) Byte(c);
        Byte(0x1f);
    }
    void Add(long long value) { Add(std::to_string(value)); }
    std::string Hex() const {
        char text[33];
        std::snprintf(text, sizeof text, "%016llx%016llx", static_cast<unsigned long long>(a_),
                      static_cast<unsigned long long>(b_));
        return text;
    }

private:
    void Byte(unsigned char c) {
        a_ = (a_ ^ c) * 0x100000001b3ULL;
        b_ = (b_ ^ c ^ 0x5a) * 0x100000001b3ULL;
    }
    std::uint64_t a_ = 0xcbf29ce484222325ULL;
    std::uint64_t b_ = 0x84222325cbf29ce4ULL;
};

}  // namespace

std::vector<ReturnedOffcut> ReturnedOffcuts(const JobInput& input,
                                            const CalculationResult& result) {
    std::vector<ReturnedOffcut> returned;
    // The cutting list's own test for its return line.
    if (input.Allowances.NoOffcuts) return returned;
    for (int p = 0; p < result.PatternCount(); ++p) {
        const CuttingPattern& pattern = result.Patterns[p];
        if (pattern.IsOffcut && pattern.BarCount > 0) {
            returned.push_back({p + 1, pattern.OffcutLength, pattern.BarCount});
        }
    }
    return returned;
}

std::string CalculationIdentity(const JobInput& input, const CalculationResult& result) {
    // What was calculated, not what the lists and allowances say now: a job edited after its
    // calculation, or read back from its file, is still the same calculation. Marks are left
    // out: naming a piece changes nothing that was cut.
    Digest digest;
    digest.Add("tallora calculation 2");
    const SectionData& s = input.Section;
    digest.Add(s.Customer);
    digest.Add(s.Reference);
    digest.Add(IdentitySectionKey(s.Name));
    digest.Add("stock");
    for (int length : result.InputStockLength) digest.Add(length);
    digest.Add("cuts");
    for (std::size_t k = 0; k < result.InputCutLength.size(); ++k) {
        digest.Add(result.InputCutLength[k]);
        digest.Add(k < result.InputCutQuantity.size() ? result.InputCutQuantity[k] : 0);
    }
    digest.Add("patterns");
    for (const auto& p : result.Patterns) {
        digest.Add(p.StockLength);
        digest.Add(p.BarCount);
        for (int k = 0; k < p.LengthCount(); ++k) {
            digest.Add(p.CutLength[k]);
            digest.Add(p.PieceCount[k]);
        }
        digest.Add("/");
    }
    return digest.Hex();
}

long long BookJob(OffcutStore& store, const JobInput& input, const CalculationResult& result,
                  const std::string& jobFile, const std::vector<UsedOffcut>& used,
                  const std::string& location) {
    if (result.Patterns.empty()) {
        throw InventoryError(InventoryErrorKind::Invalid,
                             "The job has no calculated cutting list to book: calculate it first.");
    }
    const std::vector<ReturnedOffcut> returned = ReturnedOffcuts(input, result);
    // Offcuts without a section could never be found again.
    if (!returned.empty() && SectionKey(input.Section.Name).empty()) {
        throw InventoryError(InventoryErrorKind::Invalid,
                             "Type the job's Section before booking its offcuts: the offcut "
                             "inventory keeps them by section.");
    }
    OffcutBatch added{input.Section.Name, jobFile, input.Section.Reference, location, {}};
    added.Pieces.reserve(returned.size());
    for (const auto& offcut : returned)
        added.Pieces.push_back({offcut.Pattern, offcut.Length, offcut.Count});
    BookingRecord booking;
    booking.Calculation = CalculationIdentity(input, result);
    booking.JobFile = jobFile;
    booking.JobReference = input.Section.Reference;
    return store.Book(booking, added, used);
}

long long BookCalculatedJob(OffcutStore& store, const JobInput& input,
                            const CalculationResult& result, const std::string& jobFile,
                            const std::string& location) {
    if (result.Patterns.empty()) return BookJob(store, input, result, jobFile, {}, location);
    return BookJob(store, input, result, jobFile, UsedInventoryOffcuts(input, result, store),
                   location);
}

}  // namespace tallora
