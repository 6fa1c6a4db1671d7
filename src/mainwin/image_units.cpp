#include "mainwin/image_units.h"

#include <span>
#include <type_traits>

namespace vex {

namespace {

template <typename Img>
using StringOf = std::conditional_t<std::is_const_v<Img>, const std::string, std::string>;

// The strings of a unit; empty for the two lists of numbers.
template <typename Img>
std::span<StringOf<Img>> StringsOf(Img& image, ImageUnit u) {
    switch (u.kind) {
        case UnitKind::Channel:
            return image.ChannelTable[u.bank][u.index];
        case UnitKind::BankTag:
            return {&image.BankTag[u.bank], 1};
        case UnitKind::TrunkType:
            return {&image.TrunkType[u.index], 1};
        case UnitKind::TrunkSetting:
            return image.TrunkSetting[u.bank];
        case UnitKind::TrunkBaseRow:
            return image.TrunkBase[u.bank][u.index];
        case UnitKind::TrunkIdRow:
            return image.TrunkId[u.bank][u.index];
        case UnitKind::ScanListTagRow:
            return image.ScanListTag[u.index];
        case UnitKind::SearchEdgeRow:
            return image.SearchEdgeTable[u.index];
        case UnitKind::Priority:
        case UnitKind::Active:
            break;
    }
    return {};
}

template <typename Img>
auto& NumbersOf(Img& image, UnitKind kind) {
    return kind == UnitKind::Priority ? image.PriorityChannel : image.ActiveBank;
}

// Lengths as 7-bit groups, low first: one byte for every text the image normally holds.
void PutLength(std::string& out, std::size_t n) {
    while (n >= 0x80) {
        out.push_back(static_cast<char>((n & 0x7f) | 0x80));
        n >>= 7;
    }
    out.push_back(static_cast<char>(n));
}

std::size_t TakeLength(std::string_view in, std::size_t& pos) {
    std::size_t n = 0;
    for (int shift = 0; pos < in.size(); shift += 7) {
        const auto byte = static_cast<unsigned char>(in[pos++]);
        n |= static_cast<std::size_t>(byte & 0x7f) << shift;
        if (!(byte & 0x80)) break;
    }
    return n;
}

std::uint8_t U8(int n) {
    return static_cast<std::uint8_t>(n);
}

}  // namespace

std::vector<ImageUnit> ChannelDifferences(const Image& a, const Image& b, int bank) {
    std::vector<ImageUnit> found;
    if (bank < 0 || bank >= kBankCount) return found;
    const Bank& x = a.ChannelTable[bank];
    const Bank& y = b.ChannelTable[bank];
    for (int slot = 0; slot <= ChannelsPerBank; ++slot)
        if (x[slot] != y[slot]) found.push_back({UnitKind::Channel, U8(bank), U8(slot)});
    return found;
}

std::vector<ImageUnit> Differences(const Image& a, const Image& b) {
    std::vector<ImageUnit> found;
    for (int bank = 0; bank < kBankCount; ++bank) {
        const std::vector<ImageUnit> channels = ChannelDifferences(a, b, bank);
        found.insert(found.end(), channels.begin(), channels.end());
        if (a.BankTag[bank] != b.BankTag[bank]) found.push_back({UnitKind::BankTag, U8(bank), 0});
    }
    if (a.PriorityChannel != b.PriorityChannel) found.push_back({UnitKind::Priority, 0, 0});
    if (a.ActiveBank != b.ActiveBank) found.push_back({UnitKind::Active, 0, 0});
    for (int i = 0; i < kTrunkTypeCount; ++i)
        if (a.TrunkType[i] != b.TrunkType[i]) found.push_back({UnitKind::TrunkType, 0, U8(i)});
    for (int bank = 0; bank < kScannerBanks; ++bank) {
        if (a.TrunkSetting[bank] != b.TrunkSetting[bank])
            found.push_back({UnitKind::TrunkSetting, U8(bank), 0});
        for (int row = 0; row < kTrunkBaseRows; ++row)
            if (a.TrunkBase[bank][row] != b.TrunkBase[bank][row])
                found.push_back({UnitKind::TrunkBaseRow, U8(bank), U8(row)});
    }
    for (int bank = 0; bank < kTrunkIdBanks; ++bank)
        for (int row = 0; row < kTrunkIdRows; ++row)
            if (a.TrunkId[bank][row] != b.TrunkId[bank][row])
                found.push_back({UnitKind::TrunkIdRow, U8(bank), U8(row)});
    for (int i = 0; i < kScanListTagRows; ++i)
        if (a.ScanListTag[i] != b.ScanListTag[i])
            found.push_back({UnitKind::ScanListTagRow, 0, U8(i)});
    for (int i = 0; i < 10; ++i)
        if (a.SearchEdgeTable[i] != b.SearchEdgeTable[i])
            found.push_back({UnitKind::SearchEdgeRow, 0, U8(i)});
    return found;
}

std::string PackUnit(const Image& image, ImageUnit unit) {
    std::string out;
    if (unit.kind == UnitKind::Priority || unit.kind == UnitKind::Active) {
        for (const std::int16_t n : NumbersOf(image, unit.kind)) {
            const auto u = static_cast<std::uint16_t>(n);
            out.push_back(static_cast<char>(u & 0xff));
            out.push_back(static_cast<char>(u >> 8));
        }
        return out;
    }
    const auto strings = StringsOf(image, unit);
    std::size_t size = 0;
    for (const std::string& s : strings) size += s.size() + 1;
    out.reserve(size);
    for (const std::string& s : strings) {
        PutLength(out, s.size());
        out += s;
    }
    return out;
}

void UnpackUnit(std::string_view packed, Image& image, ImageUnit unit) {
    std::size_t pos = 0;
    if (unit.kind == UnitKind::Priority || unit.kind == UnitKind::Active) {
        for (std::int16_t& n : NumbersOf(image, unit.kind)) {
            if (pos + 2 > packed.size()) return;
            const auto lo = static_cast<unsigned char>(packed[pos]);
            const auto hi = static_cast<unsigned char>(packed[pos + 1]);
            n = static_cast<std::int16_t>(static_cast<std::uint16_t>(lo | (hi << 8)));
            pos += 2;
        }
        return;
    }
    for (std::string& s : StringsOf(image, unit)) {
        const std::size_t n = TakeLength(packed, pos);
        const std::size_t take = std::min(n, packed.size() - std::min(pos, packed.size()));
        s.assign(packed.substr(std::min(pos, packed.size()), take));
        pos += take;
    }
}

void CopyUnit(const Image& from, Image& to, ImageUnit unit) {
    if (unit.kind == UnitKind::Priority || unit.kind == UnitKind::Active) {
        NumbersOf(to, unit.kind) = NumbersOf(from, unit.kind);
        return;
    }
    const auto source = StringsOf(from, unit);
    const auto target = StringsOf(to, unit);
    for (std::size_t i = 0; i < source.size(); ++i) target[i] = source[i];
}

}  // namespace vex
