#include "v30_modrm.h"

namespace vortastr::v30 {

namespace {

constexpr uint8_t byteOffsetOf(int n) { return uint8_t(((n & 3) << 1) | (n >> 2)); }

// The three kinds of displacement a form carries.
struct NoDisp {
    static uint16_t get(V30State&) { return 0; }
};
struct Disp8 {
    static uint16_t get(V30State& s) { return uint16_t(int8_t(s.fetch8())); }
};
struct Disp16 {
    static uint16_t get(V30State& s) { return s.fetch16(); }
};

template <int RM, class Disp>
uint16_t sumOf(V30State& s)
{
    const uint16_t* r = s.reg;
    uint16_t d = Disp::get(s);
    switch (RM) {
    case 0: return uint16_t(r[BX] + r[SI] + d);
    case 1: return uint16_t(r[BX] + r[DI] + d);
    case 2: return uint16_t(r[BP] + r[SI] + d);
    case 3: return uint16_t(r[BP] + r[DI] + d);
    case 4: return uint16_t(r[SI] + d);
    case 5: return uint16_t(r[DI] + d);
    case 6: return uint16_t(r[BP] + d);
    default: return uint16_t(r[BX] + d);
    }
}

// Forms based on BP take SS by default; an override prefix has already replaced both bases.
template <int RM>
constexpr bool stackBased = RM == 2 || RM == 3 || RM == 6;

template <int Mod, int RM>
constexpr uint8_t cost()
{
    constexpr uint8_t base[8] = {7, 8, 8, 7, 5, 5, 9, 5}; // r/m 6 with mod 0 is [disp16]: 6
    if (Mod == 0)
        return RM == 6 ? 6 : base[RM];
    return uint8_t(base[RM] + (RM == 6 ? 0 : 4));
}

template <int Mod, int RM>
void effectiveAddress(V30State& s)
{
    if constexpr (Mod == 0 && RM == 6) {
        s.eaOffset = s.fetch16();
        s.eaBase = s.dataBase;
    } else {
        using Disp = std::conditional_t<Mod == 0, NoDisp, std::conditional_t<Mod == 1, Disp8, Disp16>>;
        s.eaOffset = sumOf<RM, Disp>(s);
        s.eaBase = stackBased<RM> ? s.stackBase : s.dataBase;
    }
    s.cycles -= cost<Mod, RM>();
}

template <int Mod, std::size_t... RM>
constexpr std::array<EaRoutine, 8> routinesOfMod(std::index_sequence<RM...>)
{
    return {&effectiveAddress<Mod, int(RM)>...};
}
template <int Mod, std::size_t... RM>
constexpr std::array<uint8_t, 8> cyclesOfMod(std::index_sequence<RM...>)
{
    return {cost<Mod, int(RM)>()...};
}

template <class T>
constexpr std::array<T, 24> join(const std::array<T, 8>& a, const std::array<T, 8>& b, const std::array<T, 8>& c)
{
    std::array<T, 24> all{};
    for (int i = 0; i < 8; ++i) {
        all[i] = a[i];
        all[8 + i] = b[i];
        all[16 + i] = c[i];
    }
    return all;
}

} // namespace

const std::array<ModRmEntry, 256> modRmTable = [] {
    std::array<ModRmEntry, 256> table{};
    for (int m = 0; m < 256; ++m) {
        int regField = (m >> 3) & 7, rmField = m & 7;
        table[m] = {byteOffsetOf(regField), uint8_t(regField), byteOffsetOf(rmField), uint8_t(rmField)};
    }
    return table;
}();

const std::array<EaRoutine, 24> eaRoutines =
    join(routinesOfMod<0>(std::make_index_sequence<8>()), routinesOfMod<1>(std::make_index_sequence<8>()),
         routinesOfMod<2>(std::make_index_sequence<8>()));

const std::array<uint8_t, 24> eaCycles =
    join(cyclesOfMod<0>(std::make_index_sequence<8>()), cyclesOfMod<1>(std::make_index_sequence<8>()),
         cyclesOfMod<2>(std::make_index_sequence<8>()));

} // namespace vortastr::v30
