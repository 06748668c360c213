// Every list operation on arbitrary lists and arguments: no crash, leak or
// undefined behaviour, and the structural promises of the operations hold.
#include "core/util/ksub.h"
#include "core/util/text.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

bool HasNul(const std::string& s) {
    return s.find('\0') != std::string::npos;
}

bool WellFormed(const std::string& l) {
    return l.size() >= 2 && l.front() == l.back();
}

// A list the scanning operations read completely: well formed, no byte 0.
bool Plain(const std::string& l) {
    return WellFormed(l) && !HasNul(l);
}

// Results the scanning operations can read back (byte 0 delimits only when
// every candidate delimiter is taken).
bool Readable(const std::string& l) {
    return !l.empty() && l[0] != '\0';
}

int Index(FuzzedDataProvider& in) {
    if (in.ConsumeBool()) return in.ConsumeIntegral<int>();
    return in.ConsumeIntegralInRange<int>(-3, 300);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string list = in.ConsumeRandomLengthString(512);
    const std::string other = in.ConsumeRandomLengthString(256);
    const std::string arg = in.ConsumeRandomLengthString(64);
    const int index = Index(in);
    const bool f1 = in.ConsumeBool(), f2 = in.ConsumeBool();
    std::vector<std::string> items;
    while (in.remaining_bytes() > 0 && items.size() < 16)
        items.push_back(in.ConsumeRandomLengthString(32));

    const int n = SUB::Count(list);
    Check(n >= 0 && (n == 0 || static_cast<size_t>(n) < list.size()));
    if (!WellFormed(list)) Check(n == 0);

    std::string got = SUB::Get(list, index, "<d>");
    if (got != "<d>") Check(!got.empty() && !HasNul(got) && got.find(list[0]) == std::string::npos);
    if (n > 0) Check(SUB::Get(list, -1, "<d>") == SUB::Get(list, n - 1, "<d>"));
    (void)SUB::GetInt64(list, index, 0);

    int at = SUB::IndexOf(list, arg, f1, -7);
    Check(at == -7 || (at >= 0 && static_cast<size_t>(at) < list.size()));
    (void)SUB::Contains(list, arg, f1, f2);
    (void)SUB::GetValue(list, arg, "<m>", "<e>");

    std::string keys = SUB::Keys(list), values = SUB::Values(list);
    if (Plain(list) && Readable(keys)) Check(SUB::Count(keys) == n);
    if (Plain(list) && Readable(values)) Check(SUB::Count(values) == n);
    std::string k2, v2;
    SUB::SplitPairs(list, k2, v2);
    Check(k2 == keys && v2 == values);

    std::string joined = SUB::JoinPairs(list, other, f1);
    if (!f1 && Plain(list) && Plain(other) && Readable(joined)) {
        int m = SUB::Count(other);
        Check(SUB::Count(joined) == (n > m ? n : m));
    }

    std::string deleted = SUB::Delete(list, index);
    if (Plain(list) && index >= 0 && index < n) Check(SUB::Count(deleted) == n - 1);

    std::string put = SUB::Put(list, index, arg);
    if (index >= 0 && index < 300 && !HasNul(arg) && Readable(put)) {
        Check(WellFormed(put));
        Check(SUB::Count(put) == (index < n ? n : index + 1));
        Check(SUB::Get(put, index, "") == arg);
    }

    bool nulFree = true;
    for (const std::string& s : items)
        nulFree = nulFree && !HasNul(s);
    std::string made = SUB::FromArray(items, false);
    if (nulFree && Readable(made)) {
        Check(SUB::Count(made) == static_cast<int>(items.size()));
        for (size_t i = 0; i < items.size(); ++i)
            Check(SUB::Get(made, static_cast<int>(i), "") == items[i]);
    }
    if (items.empty()) Check(made.empty());
    (void)SUB::FromArray(items, true);

    std::string added = SUB::Add(list, items, false);
    if (nulFree && Plain(list) && Readable(added))
        Check(SUB::Count(added) == n + static_cast<int>(items.size()));
    (void)SUB::Add(list, items, true);

    std::string reversed = SUB::Reverse(list);
    if (Plain(list)) {
        Check(SUB::Count(reversed) == n);
        Check(SUB::Reverse(reversed) == list);
    }

    std::string unique = SUB::Unique(list);
    if (Plain(list) && Readable(unique)) {
        Check(SUB::Count(unique) <= n);
        for (int i = 0; i < SUB::Count(unique); ++i)
            Check(!SUB::Get(unique, i, "").empty());
    }

    std::string trimmed = SUB::TrimEmpty(list, f1, f2);
    Check(trimmed.size() != 1);
    if (Plain(list) && !trimmed.empty() && SUB::Count(trimmed) > 0) {
        if (f1) Check(!SUB::Get(trimmed, -1, "").empty());
        if (f2) Check(!SUB::Get(trimmed, 0, "").empty());
    }

    std::string redelimited = SUB::Redelimit(list);
    Check(redelimited.size() == (list.size() == 1 ? 0 : list.size()));
    std::string set = SUB::SetDelimiter(list, arg.empty() ? '|' : arg[0]);
    Check(set.size() == list.size());
    return 0;
}
