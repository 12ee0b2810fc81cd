// Writes z80selftest.com, a small CP/M program assembled by hand below: eight checks of
// 16-bit arithmetic, DAA, DJNZ, LDIR, CPIR, indexed loads and bit operations, the stack and
// CALL/RET. It prints each check's number through BDOS function 2 as it passes, the text
// that LDIR copied and a closing line through function 9, then jumps to 0x0000. A failing
// check prints "FAILED at check N".
//
// usage: z80_cpm_selftest_writer OUTPUT.COM
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

// Bytes at 0x100 onwards with labels resolved after the last byte.
class Assembly {
public:
    void bytes(std::initializer_list<uint8_t> list) { code.insert(code.end(), list); }
    void text(const std::string& s) { code.insert(code.end(), s.begin(), s.end()); }
    void label(const std::string& name) { labels[name] = here(); }
    void define(const std::string& name, uint16_t value) { labels[name] = value; }
    // A 16-bit little-endian reference to a label.
    void word(const std::string& name)
    {
        absolute.push_back({code.size(), name});
        bytes({0, 0});
    }
    // An 8-bit displacement from the byte after it to a label (JR, DJNZ).
    void relative(const std::string& name)
    {
        relatives.push_back({code.size(), name});
        bytes({0});
    }

    bool resolve(std::string& problem)
    {
        for (const auto& [at, name] : absolute) {
            if (!labels.count(name))
                return problem = "no label " + name, false;
            code[at] = uint8_t(labels[name]);
            code[at + 1] = uint8_t(labels[name] >> 8);
        }
        for (const auto& [at, name] : relatives) {
            if (!labels.count(name))
                return problem = "no label " + name, false;
            int distance = int(labels[name]) - int(origin + at + 1);
            if (distance < -128 || distance > 127)
                return problem = "relative jump out of range to " + name, false;
            code[at] = uint8_t(int8_t(distance));
        }
        return true;
    }

    std::vector<uint8_t> code;

private:
    static constexpr uint16_t origin = 0x100;
    uint16_t here() const { return uint16_t(origin + code.size()); }
    std::map<std::string, uint16_t> labels;
    std::vector<std::pair<std::size_t, std::string>> absolute, relatives;
};

void beginCheck(Assembly& a, int number)
{
    a.bytes({0x3E, uint8_t('0' + number)}); // LD A,'n'
    a.bytes({0x32});
    a.word("current"); // LD (current),A
}

void failUnlessZero(Assembly& a)
{
    a.bytes({0xC2});
    a.word("fail"); // JP NZ,fail
}

void passCheck(Assembly& a)
{
    a.bytes({0x3A});
    a.word("current");           // LD A,(current)
    a.bytes({0x5F});             // LD E,A
    a.bytes({0x0E, 0x02});       // LD C,2
    a.bytes({0xCD, 0x05, 0x00}); // CALL 5
}

std::vector<uint8_t> assemble(std::string& problem)
{
    Assembly a;
    a.bytes({0x11});
    a.word("banner");            // LD DE,banner
    a.bytes({0x0E, 0x09});       // LD C,9
    a.bytes({0xCD, 0x05, 0x00}); // CALL 5

    beginCheck(a, 1);            // 0x1234 + 0x1111 - 0x2345 = 0
    a.bytes({0x21, 0x34, 0x12}); // LD HL,0x1234
    a.bytes({0x01, 0x11, 0x11}); // LD BC,0x1111
    a.bytes({0x09});             // ADD HL,BC
    a.bytes({0x11, 0x45, 0x23}); // LD DE,0x2345
    a.bytes({0xB7});             // OR A
    a.bytes({0xED, 0x52});       // SBC HL,DE
    failUnlessZero(a);
    passCheck(a);

    beginCheck(a, 2);      // BCD 19 + 28 = 47
    a.bytes({0x3E, 0x19}); // LD A,0x19
    a.bytes({0xC6, 0x28}); // ADD A,0x28
    a.bytes({0x27});       // DAA
    a.bytes({0xFE, 0x47}); // CP 0x47
    failUnlessZero(a);
    passCheck(a);

    beginCheck(a, 3);      // 10 + 9 + ... + 1 = 55
    a.bytes({0x06, 0x0A}); // LD B,10
    a.bytes({0xAF});       // XOR A
    a.label("sum");
    a.bytes({0x80}); // ADD A,B
    a.bytes({0x10});
    a.relative("sum");   // DJNZ sum
    a.bytes({0xFE, 55}); // CP 55
    failUnlessZero(a);
    passCheck(a);

    beginCheck(a, 4); // LDIR copies the message and leaves BC = 0
    a.bytes({0x21});
    a.word("source"); // LD HL,source
    a.bytes({0x11});
    a.word("copy"); // LD DE,copy
    a.bytes({0x01});
    a.word("length");      // LD BC,length
    a.bytes({0xED, 0xB0}); // LDIR
    a.bytes({0x78});       // LD A,B
    a.bytes({0xB1});       // OR C
    failUnlessZero(a);
    passCheck(a);

    beginCheck(a, 5); // CPIR finds the '$' that ends the copy
    a.bytes({0x21});
    a.word("copy");              // LD HL,copy
    a.bytes({0x01, 0x40, 0x00}); // LD BC,64
    a.bytes({0x3E, '$'});        // LD A,'$'
    a.bytes({0xED, 0xB1});       // CPIR
    failUnlessZero(a);
    a.bytes({0x2B}); // DEC HL
    a.bytes({0x11});
    a.word("copyEnd");     // LD DE,copyEnd
    a.bytes({0xB7});       // OR A
    a.bytes({0xED, 0x52}); // SBC HL,DE
    failUnlessZero(a);
    passCheck(a);

    beginCheck(a, 6); // indexed load, SET and BIT through IX
    a.bytes({0xDD, 0x21});
    a.word("table");             // LD IX,table
    a.bytes({0xDD, 0x7E, 0x02}); // LD A,(IX+2)
    a.bytes({0xFE, 0x30});       // CP 0x30
    failUnlessZero(a);
    a.bytes({0xDD, 0xCB, 0x01, 0xC6}); // SET 0,(IX+1)
    a.bytes({0xDD, 0xCB, 0x01, 0x46}); // BIT 0,(IX+1)
    a.bytes({0xCA});
    a.word("fail");              // JP Z,fail
    a.bytes({0xDD, 0x7E, 0x01}); // LD A,(IX+1)
    a.bytes({0xFE, 0x21});       // CP 0x21
    failUnlessZero(a);
    passCheck(a);

    beginCheck(a, 7);            // PUSH BC / POP DE
    a.bytes({0x01, 0xEF, 0xBE}); // LD BC,0xBEEF
    a.bytes({0xC5});             // PUSH BC
    a.bytes({0xD1});             // POP DE
    a.bytes({0x7A});             // LD A,D
    a.bytes({0xFE, 0xBE});       // CP 0xBE
    failUnlessZero(a);
    a.bytes({0x7B});       // LD A,E
    a.bytes({0xFE, 0xEF}); // CP 0xEF
    failUnlessZero(a);
    passCheck(a);

    beginCheck(a, 8);      // CALL/RET and RLCA's carry
    a.bytes({0x3E, 0x21}); // LD A,0x21
    a.bytes({0xCD});
    a.word("double");      // CALL double
    a.bytes({0xFE, 0x42}); // CP 0x42
    failUnlessZero(a);
    a.bytes({0x3E, 0x81}); // LD A,0x81
    a.bytes({0x07});       // RLCA
    a.bytes({0xD2});
    a.word("fail");        // JP NC,fail
    a.bytes({0xFE, 0x03}); // CP 0x03
    failUnlessZero(a);
    passCheck(a);

    a.bytes({0x11});
    a.word("copy");              // LD DE,copy
    a.bytes({0x0E, 0x09});       // LD C,9
    a.bytes({0xCD, 0x05, 0x00}); // CALL 5
    a.bytes({0x11});
    a.word("done");              // LD DE,done
    a.bytes({0x0E, 0x09});       // LD C,9
    a.bytes({0xCD, 0x05, 0x00}); // CALL 5
    a.bytes({0xC3, 0x00, 0x00}); // JP 0

    a.label("fail");
    a.bytes({0x11});
    a.word("failed");            // LD DE,failed
    a.bytes({0x0E, 0x09});       // LD C,9
    a.bytes({0xCD, 0x05, 0x00}); // CALL 5
    passCheck(a);                // the check's number
    a.bytes({0x11});
    a.word("newline");           // LD DE,newline
    a.bytes({0x0E, 0x09});       // LD C,9
    a.bytes({0xCD, 0x05, 0x00}); // CALL 5
    a.bytes({0xC3, 0x00, 0x00}); // JP 0

    a.label("double");
    a.bytes({0x87}); // ADD A,A
    a.bytes({0xC9}); // RET

    a.label("current");
    a.bytes({0});
    a.label("table");
    a.bytes({0x10, 0x20, 0x30});
    a.label("banner");
    a.text("Z80 CP/M self-test: $");
    a.label("done");
    a.text("all 8 checks passed\r\n$");
    a.label("failed");
    a.text("\r\nFAILED at check $");
    a.label("newline");
    a.text("\r\n$");
    const std::string message = "\r\ncopied by LDIR\r\n$";
    a.label("source");
    a.text(message);
    a.label("copy");
    a.text(std::string(message.size() - 1, '.'));
    a.label("copyEnd");
    a.bytes({0});
    a.define("length", uint16_t(message.size()));

    if (!a.resolve(problem))
        return {};
    return a.code;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: z80_cpm_selftest_writer OUTPUT.COM\n");
        return 2;
    }
    std::string problem;
    std::vector<uint8_t> program = assemble(problem);
    if (program.empty()) {
        std::fprintf(stderr, "z80_cpm_selftest_writer: %s\n", problem.c_str());
        return 1;
    }
    std::ofstream out(argv[1], std::ios::binary);
    out.write(reinterpret_cast<const char*>(program.data()), std::streamsize(program.size()));
    if (!out) {
        std::fprintf(stderr, "z80_cpm_selftest_writer: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
