#include "boards/rom_sets.h"

#include "boards/konami_bitmap/konami_bitmap_board.h"

namespace vortastr {
namespace {

RomListLoad list(const char* folder, std::initializer_list<const char*> names, uint32_t address, uint32_t size)
{
    return {inFolder(folder, names), address, size};
}

RomPairList pairsIn(const char* folder, std::initializer_list<std::pair<const char*, const char*>> names)
{
    RomPairList pairs;
    for (const auto& [even, odd] : names)
        pairs.push_back({std::string(folder) + "\\" + even, std::string(folder) + "\\" + odd});
    return pairs;
}

// A decode of up to four files of one folder; "" leaves a file out.
DecodeStep step(const char* folder, std::initializer_list<const char*> names, uint32_t size, int blocks,
                std::vector<int> lines = {0})
{
    DecodeStep s;
    for (const char* name : names)
        s.files.push_back(*name ? std::string(folder) + "\\" + name : std::string());
    s.fileSize = size;
    s.blocks = blocks;
    s.firstLines = std::move(lines);
    return s;
}

// A set made of single decodes, one per line given, each of the same size and block count.
GraphicsSet oneEach(int units, const char* folder, std::initializer_list<std::initializer_list<const char*>> decodes,
                    uint32_t size, int blocks, int lineStep)
{
    GraphicsSet set(units, {});
    int line = 0;
    for (const auto& names : decodes) {
        set.steps.push_back(step(folder, names, size, blocks, {line}));
        line += lineStep;
    }
    return set;
}

} // namespace

ProgramRoms programRoms(GameId game)
{
    ProgramRoms p;
    switch (game) {
    case Tank:
        p.lists = {list("tank", {"tb1-1.bin", "tb1-2.bin", "tb1-3.bin", "tb1-4.bin"}, 0x6000, 2048),
                   list("tank", {"tb1-4.bin"}, 0xF800, 2048)};
        break;
    case Vanguard:
        p.lists = {list("vanguard",
                        {"sk4_ic07.bin", "sk4_ic08.bin", "sk4_ic09.bin", "sk4_ic10.bin", "sk4_ic13.bin", "sk4_ic14.bin",
                         "sk4_ic15.bin", "sk4_ic16.bin"},
                        0x4000, 4096),
                   list("vanguard", {"sk4_ic13.bin"}, 0xF000, 4096)};
        break;
    case Eggs:
        p.lists = {list("eggs", {"E14.bin", "D14.bin", "C14.bin", "B14.bin", "A14.bin"}, 0x3000, 4096),
                   list("eggs", {"A14.bin"}, 0xF000, 4096)};
        break;
    case CrystalCastles: p.lists = {list("crystalc", {"136022.303", "136022.304", "136022.305"}, 0xA000, 8192)}; break;
    case Zoar: p.lists = {list("zoar", {"zoar13", "zoar15", "zoar16", "zoar17"}, 0xC000, 4096)}; break;
    case PandorasPalace:
        p.lists = {list("pandora", {"pand_j9.cpu", "pand_j13.cpu", "pand_j12.cpu", "pand_j10.cpu", "pand_j5.cpu"},
                        0x6000, 8192)};
        break;
    case Tutankham:
    case VortaStrike:
    case VortaStrikeBootleg: return konamiBitmap::programRoms(game);
    case TunnelHunt:
        p.lists = {list("tunnel", {"136000.LM1", "136000.K1", "136000.J1", "136000.FH1", "136000.EF1", "136000.D1"},
                        0x5000, 2048),
                   list("tunnel", {"136000.D1"}, 0xF800, 2048)};
        break;
    case IronHorse:
        p.lists = {list("ironhrse", {"12c_h02.bin"}, 0xC000, 16384), list("ironhrse", {"13c_h03.bin"}, 0x4000, 32768)};
        break;
    case SkyKid: p.lists = {list("skykid", {"sk2", "sk1"}, 0x8000, 16384)}; break;
    case TrackNField:
        p.lists = {list("trackfld", {"A01_E01.BIN", "A02_E02.BIN", "A03_K03.BIN", "A04_E04.BIN", "A05_E05.BIN"}, 0x6000,
                        8192)};
        break;
    case HyperSports: p.lists = {list("hyperspt", {"c01", "c02", "c03", "c04", "c05", "c06"}, 0x4000, 8192)}; break;
    case RockNRope:
        p.lists = {
            list("rocnrope", {"rnr_h1.vid", "rnr_h2.vid", "rnr_h3.vid", "rnr_h4.vid", "rnr_h5.vid"}, 0x6000, 8192)};
        break;
    case CircusCharlie:
        p.lists = {list("circusch", {"h03_r05.bin", "h04_n04.bin", "h05_n03.bin", "h06_n02.bin", "h07_n01.bin"}, 0x6000,
                        8192)};
        break;
    case JailBreak: p.lists = {list("jailbrk", {"jailbrk.p03", "jailbrk.p02"}, 0x8000, 16384)}; break;
    case CircusCharlie2: p.lists = {list("circusc2", {"s05", "q04", "q03", "q02", "q01"}, 0x6000, 8192)}; break;
    case Tazmania:
        p.lists = {list("tazmania", {"2c.cpu", "2e.cpu", "2f.cpu", "2h.cpu", "2j.cpu", "2k.cpu"}, 0x0000, 4096)};
        break;
    case Scramble:
        p.lists = {list("scramble",
                        {"scramble.1k", "scramble.2k", "scramble.3k", "scramble.4k", "scramble.5k", "scramble.1j",
                         "scramble.2j", "scramble.3j"},
                        0x0000, 2048)};
        break;
    case RopeMan:
        p.lists = {list("ropeman", {"j01_rm01.bin", "j02_rm02.bin", "j03_rm03.bin", "j04_rm04.bin", "j05_rm05.bin"},
                        0x6000, 8192)};
        break;
    case WhizQuiz:
        p.lists = {
            list("whizquiz", {"01A_E01.BIN", "02A_E02.BIN", "03A_E03.BIN", "04A_E04.BIN", "ic9_a1.BIN"}, 0x6000, 8192)};
        break;
    case SuperBond:
        p.lists = {
            list("superbnd", {"2d.cpu", "2e.cpu", "2f.cpu", "2h.cpu", "2j.cpu", "2l.cpu", "2m.cpu"}, 0x0000, 4096)};
        break;
    case RoadFighters:
        p.lists = {list("roadfght",
                        {"g05_g01.bin", "g07_f02.bin", "g09_g03.bin", "g11_f04.bin", "g13_f05.bin", "g15_f06.bin"},
                        0x4000, 8192)};
        break;
    case MegaZone:
        p.lists = {list("megazone", {"ic59_cpu.bin", "ic58_cpu.bin", "ic57_cpu.bin", "ic56_cpu.bin", "ic55_cpu.bin"},
                        0x6000, 8192)};
        break;
    case RTypeJapanese:
        p.pairs = {{pairsIn("rtypejp", {{"db_a1.bin", "db_b1.bin"}, {"db_a2.bin", "db_b2.bin"}}), 0, 65536}};
        break;
    case RType:
        p.pairs = {{pairsIn("rtype", {{"cn3_l0.bin", "cn3_h0.bin"}, {"cn3_l1.bin", "cn3_h1.bin"}}), 0, 65536}};
        p.fallbackProbe = "rtype\\cn3_l0.bin";
        p.fallbackPairs = {{pairsIn("rtype", {{"aud-l0.bin", "aud-h0.bin"}, {"aud-l1.bin", "aud-h1.bin"}}), 0, 65536}};
        break;
    case RType2:
        p.pairs = {{pairsIn("rtype2", {{"rt2_l0.bin", "rt2_h0.bin"}, {"rt2_l1.bin", "rt2_h1.bin"}}), 0, 131072}};
        break;
    case RTypeLeo:
        p.pairs = {{pairsIn("rtleo", {{"rtl-l0-d.bin", "rtl-h0-d.bin"}}), 0, 262144},
                   {pairsIn("rtleo", {{"rtl-l1-d.bin", "rtl-h1-d.bin"}}), 0x80000, 131072}};
        break;
    case MasterT:
        p.pairs = {{pairsIn("mt", {{"mt_l0.bin", "mt_m0.bin"}, {"mt_l1.bin", "mt_m1.bin"}}), 0, 131072}};
        break;
    case ShaolinsRoad:
        p.lists = {list("shaolin", {"l03_d9.bin"}, 0x6000, 8192),
                   list("shaolin", {"l04_d10.bin", "l05_d11.bin"}, 0x8000, 16384)};
        break;
    case InTheHunt:
        p.pairs = {{pairsIn("inthehnt", {{"ith-l0-d.rom", "ith-h0-d.rom"}}), 0, 262144},
                   {pairsIn("inthehnt", {{"ith-l1-b.rom", "ith-h1-b.rom"}}), 0x80000, 131072}};
        break;
    case NewZealandStory: p.lists = {list("NZSTORY", {"NZSB5310.BIN"}, 0x0000, 65536)}; break;
    case HeroTonma:
        p.pairs = {{pairsIn("loht", {{"tom_c-l0.rom", "tom_c-h0.rom"}, {"tom_c-l3.rom", "tom_c-h3.rom"}}), 0, 131072}};
        break;
    case DragonBreed:
        p.pairs = {{pairsIn("dbreed", {{"db_c-l3.rom", "db_c-h3.rom"}, {"db_c-l0.rom", "db_c-h0.rom"}}), 0, 131072}};
        break;
    case Kengo: p.pairs = {{pairsIn("kengo", {{"ken_d-l0.rom", "ken_d-h0.rom"}}), 0, 131072}}; break;
    case UnderCps:
        p.pairs = {{pairsIn("undercps", {{"uc_l0.rom", "uc_h0.rom"}}), 0, 262144},
                   {pairsIn("undercps", {{"uc_l1.rom", "uc_h1.rom"}}), 0x80000, 131072}};
        break;
    default: break;
    }
    return p;
}

SideBufferRoms sideBufferRoms(GameId game)
{
    switch (game) {
    case CrystalCastles:
        return {0x8000, inFolder("crystalc", {"136022.102", "136022.101", "136022.303", "136022.304"}), 8192, false};
    case Tutankham:
    case VortaStrike:
    case VortaStrikeBootleg: return konamiBitmap::sideBufferRoms(game);
    case NewZealandStory: return {0x20000, inFolder("NZSTORY", {"NZSB5310.BIN"}), 131072, true};
    default: return {};
    }
}

GraphicsSet characterSet(GameId game)
{
    switch (game) {
    case Tank: return {1, {step("tank", {"tb1-5.bin", "tb1-5.bin"}, 2048, 1)}};
    case Vanguard: return {2, {step("vanguard", {"sk4_ic13.bin", "sk4_ic13.bin"}, 4096, 2)}};
    case Eggs:
    case TunnelHunt: return {2, {step("eggs", {"g12.bin", "h12.bin"}, 4096, 2)}};
    case Zoar: return {2, {step("zoar", {"zoar00", "zoar03", "zoar06"}, 4096, 2)}};
    case PandorasPalace: return oneEach(2, "pandora", {{"pand_a18.cpu"}, {"pand_a19.cpu"}}, 8192, 1, 128);
    case IronHorse: return {8, {step("ironhrse", {"09f_h07.bin", "06f_h04.bin"}, 32768, 8)}};
    case SkyKid: return {2, {step("skykid", {"sk6"}, 16384, 2)}};
    case TrackNField: return oneEach(4, "trackfld", {{"h16_e12.bin"}, {"h15_e11.bin"}, {"h14_e10.bin"}}, 8192, 1, 128);
    case HyperSports:
        return {4, {step("hyperspt", {"c26", "c22"}, 8192, 2, {0}), step("hyperspt", {"c24", "c20"}, 8192, 2, {256})}};
    case RockNRope: return {4, {step("rocnrope", {"rnr_h12.vid", "rnr_h11.vid"}, 8192, 2)}};
    case CircusCharlie: return oneEach(2, "circusch", {{"a04_j12.bin"}, {"a05_k13.bin"}}, 8192, 1, 128);
    case JailBreak: return oneEach(8, "jailbrk", {{"jailbrk.l08"}, {"jailbrk.j09"}}, 16384, 2, 256);
    case CircusCharlie2: return oneEach(2, "circusc2", {{"j12"}, {"k13"}}, 8192, 1, 128);
    case Tazmania: return {1, {step("tazmania", {"5h.cpu", "5f.cpu"}, 2048, 1)}};
    case Scramble: return {1, {step("scramble", {"scramble.15j", "scramble.15k"}, 2048, 1)}};
    case RopeMan: return {4, {step("ropeman", {"j11_rm06.bin", "j12_rm07.bin"}, 8192, 2)}};
    case WhizQuiz: return oneEach(4, "whizquiz", {{"16h.bin"}, {"15h.bin"}, {"14h.bin"}}, 8192, 1, 128);
    case SuperBond: return {1, {step("superbnd", {"5h.cpu", "5f.cpu"}, 2048, 1)}};
    case RoadFighters:
        return {6,
                {step("roadfght", {"a14_e26.bin", "c14_e22.bin"}, 16384, 4, {0}),
                 step("roadfght", {"a12_d24.bin", "c12_d20.bin"}, 8192, 2, {512})}};
    case MegaZone: return oneEach(4, "megazone", {{"ic40_vid.bin"}, {"ic58_vid.bin"}}, 8192, 1, 128);
    case RTypeJapanese:
        return {128,
                {step("rtypejp", {"cn5_a0.bin", "cn5_a1.bin", "cn5_a2.bin", "cn5_a3.bin"}, 32768, 16, {0}),
                 step("rtypejp", {"cn5_b0.bin", "cn5_b1.bin", "cn5_b2.bin", "cn5_b3.bin"}, 32768, 16, {2048})}};
    case RType:
        return {128,
                {step("rtype", {"cn5_a0.bin", "cn5_a1.bin", "cn5_a2.bin", "cn5_a3.bin"}, 32768, 16, {0}),
                 step("rtype", {"cn5_b0.bin", "cn5_b1.bin", "cn5_b2.bin", "cn5_b3.bin"}, 32768, 16, {2048})},
                "rtype\\cn5_a0.bin",
                {step("rtype", {"cpu-a0.bin", "cpu-a1.bin", "cpu-a2.bin", "cpu-a3.bin"}, 32768, 16, {0}),
                 step("rtype", {"cpu-b0.bin", "cpu-b1.bin", "cpu-b2.bin", "cpu-b3.bin"}, 32768, 16, {2048})}};
    case RType2:
        return {128,
                {step("rtype2", {"rt2_g00l.bin", "rt2_g10l.bin", "rt2_g20l.bin", "rt2_g30l.bin"}, 65536, 32, {0}),
                 step("rtype2", {"rt2_g00u.bin", "rt2_g10u.bin", "rt2_g20u.bin", "rt2_g30u.bin"}, 65536, 32, {4096}),
                 step("rtype2", {"rt2_g01l.bin", "rt2_g11l.bin", "rt2_g21l.bin", "rt2_g31l.bin"}, 65536, 32, {8192}),
                 step("rtype2", {"rt2_g01u.bin", "rt2_g11u.bin", "rt2_g21u.bin", "rt2_g31u.bin"}, 65536, 32, {12288})}};
    case RTypeLeo: return {149, {step("rtleo", {"rtl-c0.bin", "rtl-c1.bin", "rtl-c2.bin", "rtl-c3.bin"}, 524288, 149)}};
    case MasterT:
        return {128,
                {step("mt", {"mt_c0_l.bin", "mt_c1_l.bin", "mt_c2_l.bin", "mt_c3_l.bin"}, 65536, 32, {0, 8192}),
                 step("mt", {"mt_c0_u.bin", "mt_c1_u.bin", "mt_c2_u.bin", "mt_c3_u.bin"}, 65536, 32, {4096, 12288})}};
    case ShaolinsRoad: return {4, {step("shaolin", {"j06_a10.bin", "j07_a11.bin"}, 8192, 2)}};
    case InTheHunt:
        return {256, {step("inthehnt", {"ith_ic23.rom", "ith_ic24.rom", "ith_ic25.rom", "ith_ic26.rom"}, 524288, 255)}};
    case NewZealandStory:
        return {32, {step("NZSTORY", {"NZSB5301.BIN", "NZSB5303.BIN", "NZSB5305.BIN", "NZSB5307.BIN"}, 65536, 32)}};
    case HeroTonma:
        return {128,
                {step("loht", {"tom_m21.rom", "tom_m22.rom", "tom_m20.rom", "tom_m23.rom"}, 65536, 32, {0}),
                 step("loht", {"tom_m26.rom", "tom_m27.rom", "tom_m25.rom", "tom_m24.rom"}, 65536, 32, {4096})}};
    case DragonBreed:
        return {128,
                {step("dbreed", {"db_a0m.rom", "db_a1m.rom", "db_a2m.rom", "db_a3m.rom"}, 131072, 64, {0}),
                 step("dbreed", {"db_b0m.rom", "db_b1m.rom", "db_b2m.rom", "db_b3m.rom"}, 131072, 64, {8192})}};
    case Kengo: return {128, {step("kengo", {"ken_m21.rom", "ken_m22.rom", "ken_m31.rom", "ken_m32.rom"}, 131072, 64)}};
    case UnderCps:
        return {511, {step("undercps", {"uc_k16m.rom", "uc_k17m.rom", "uc_k18m.rom", "uc_k19m.rom"}, 1048576, 511)}};
    case Tutankham:
    case VortaStrike:
    case VortaStrikeBootleg: return konamiBitmap::graphicsSet();
    default: return {}; // Crystal Castles and the numbers without a board: a 1-unit sheet
    }
}

GraphicsSet spriteSet(GameId game)
{
    switch (game) {
    case Tank: return {1, {step("tank", {"tb1-5.bin", "tb1-5.bin"}, 2048, 1)}};
    case Vanguard: return {1, {step("vanguard", {"sk5_ic50.bin", "sk5_ic50.bin"}, 2048, 1)}};
    case Eggs:
    case Zoar: return {1, {step("eggs", {"G10.bin", "H10.bin"}, 2048, 1)}};
    case CrystalCastles: return {2, {step("crystalc", {"136022.107", "136022.106"}, 8192, 2)}};
    case PandorasPalace:
        return oneEach(4, "pandora", {{"pand_j16.cpu"}, {"pand_j17.cpu"}, {"pand_j18.cpu"}}, 8192, 1, 128);
    case IronHorse: return {8, {step("ironhrse", {"08f_h06.bin", "07f_h05.bin"}, 32768, 8)}};
    case TrackNField:
        return oneEach(4, "trackfld", {{"c13_d08.bin", "c11_d06.bin"}, {"c14_d09.bin", "c12_d07.bin"}}, 8192, 2, 256);
    case HyperSports:
        return oneEach(8, "hyperspt", {{"c14", "c18"}, {"c13", "c17"}, {"c12", "c16"}, {"c11", "c15"}}, 8192, 2, 256);
    case RockNRope:
        return oneEach(4, "rocnrope", {{"rnr_a11.vid", "rnr_a9.vid"}, {"rnr_a12.vid", "rnr_a10.vid"}}, 8192, 2, 256);
    case CircusCharlie:
        return oneEach(
            8, "circusch",
            {{"e11_j06.bin"}, {"e12_j07.bin"}, {"e13_j08.bin"}, {"e14_j09.bin"}, {"e15_j10.bin"}, {"e16_j11.bin"}},
            8192, 1, 128);
    case JailBreak:
        return oneEach(8, "jailbrk", {{"jailbrk.j04"}, {"jailbrk.j05"}, {"jailbrk.j06"}, {"jailbrk.j07"}}, 16384, 2,
                       256);
    case CircusCharlie2:
        return oneEach(8, "circusc2", {{"j06"}, {"j07"}, {"j08"}, {"j09"}, {"j10"}, {"j11"}}, 8192, 1, 128);
    case Tazmania: return {1, {step("tazmania", {"5h.cpu", "5f.cpu"}, 2048, 1)}};
    case Scramble: return {1, {step("scramble", {"scramble.15j", "scramble.15k"}, 2048, 1)}};
    case RopeMan:
        return oneEach(4, "ropeman", {{"a09_rm08.bin", "a11_rm10.bin"}, {"a10_rm09.bin", "a12_rm11.bin"}}, 8192, 2,
                       256);
    case WhizQuiz: return oneEach(4, "whizquiz", {{"14c.bin", "11c.bin"}, {"14c.bin", "11c.bin"}}, 8192, 2, 256);
    case SuperBond: return {1, {step("superbnd", {"5h.cpu", "5f.cpu"}, 2048, 1)}};
    case RoadFighters: return {8, {step("roadfght", {"g19_e18.bin", "j19_e14.bin"}, 16384, 4)}};
    case MegaZone:
        return oneEach(4, "megazone", {{"ic14_vid.bin", "ic15_vid.bin"}, {"ic04_vid.bin", "ic05_vid.bin"}}, 8192, 2,
                       256);
    case RTypeJapanese:
        return {64,
                {step("rtypejp", {"cn3_00.bin", "cn3_10.bin", "cn3_20.bin", "cn3_30.bin"}, 65536, 32, {0}),
                 step("rtypejp", {"cn3_01.bin", "cn3_11.bin", "cn3_21.bin", "cn3_31.bin"}, 65536, 32, {4096})}};
    case RType:
        return {64,
                {step("rtype", {"cn3_00.bin", "cn3_10.bin", "cn3_20.bin", "cn3_30.bin"}, 65536, 32, {0}),
                 step("rtype", {"cn3_01.bin", "cn3_11.bin", "cn3_21.bin", "cn3_31.bin"}, 65536, 32, {4096})},
                "rtype\\cn3_00.bin",
                {step("rtype", {"cpu-00.bin", "cpu-10.bin", "cpu-20.bin", "cpu-30.bin"}, 65536, 32, {0}),
                 step("rtype", {"cpu-01.bin", "cpu-11.bin", "cpu-21.bin", "cpu-31.bin"}, 65536, 32, {4096})}};
    case RType2:
        return {64,
                {step("rtype2", {"rt2_n0_l.bin", "rt2_n1_l.bin", "rt2_n2_l.bin", "rt2_n3_l.bin"}, 65536, 32, {0}),
                 step("rtype2", {"rt2_n0_u.bin", "rt2_n1_u.bin", "rt2_n2_u.bin", "rt2_n3_u.bin"}, 65536, 32, {4096})}};
    case RTypeLeo:
        return {419, {step("rtleo", {"rtl-000.bin", "rtl-010.bin", "rtl-020.bin", "rtl-030.bin"}, 1048576, 419)}};
    case MasterT:
        return {128,
                {step("mt", {"mt_n0.bin", "mt_n1.bin", "mt_n2.bin", "mt_n3.bin"}, 131072, 64, {0}),
                 step("mt", {"mt_f0_l.bin", "mt_f1_l.bin", "mt_f2_l.bin", "mt_f3_l.bin"}, 65536, 32, {8192}),
                 step("mt", {"mt_f0_u.bin", "mt_f1_u.bin", "mt_f2_u.bin", "mt_f3_u.bin"}, 65536, 32, {12288})}};
    case ShaolinsRoad: return {4, {step("shaolin", {"k01_h14.bin", "k02_h15.bin"}, 16384, 4)}};
    case InTheHunt:
        return {511,
                {step("inthehnt", {"ith_ic34.rom", "ith_ic35.rom", "ith_ic36.rom", "ith_ic37.rom"}, 1048576, 511)}};
    case NewZealandStory:
        return {32, {step("NZSTORY", {"NZSB5302.BIN", "NZSB5304.BIN", "NZSB5306.BIN", "NZSB5308.BIN"}, 65536, 32)}};
    case HeroTonma:
        return {64, {step("loht", {"tom_m53.rom", "tom_m51.rom", "tom_m49.rom", "tom_m47.rom"}, 65536, 32)}};
    case DragonBreed:
        return {64, {step("dbreed", {"db_k800m.rom", "db_k801m.rom", "db_k802m.rom", "db_k803m.rom"}, 131072, 64)}};
    case Kengo: return {64, {step("kengo", {"ken_m51.rom", "ken_m57.rom", "ken_m64.rom", "ken_m66.rom"}, 131072, 64)}};
    case UnderCps:
        return {256, {step("undercps", {"uc_w38m.rom", "uc_w39m.rom", "uc_w40m.rom", "uc_w41m.rom"}, 524288, 256)}};
    case Tutankham:
    case VortaStrike:
    case VortaStrikeBootleg: return konamiBitmap::graphicsSet();
    default: return {}; // Tunnel Hunt, Sky Kid and the numbers without a board: a 1-unit sheet
    }
}

} // namespace vortastr
