// Writes a 64 KB self-checking V30 program, to be loaded at 0xF0000 and run from the reset
// address, and the 64-byte result area it must leave at linear 0x0500.
//
// usage: v30_selftest_image PROGRAM.bin EXPECTED.bin
//
// The program exercises what the recorded 8086 vectors cannot: the 80186 additions, the
// V30 0x0F instructions, interrupts through the vector table, a divide fault and port
// round trips. After each check it compares the stored result with the expected value
// and, on a difference, stores the check's number at 0x053E and loops at `failLoop`. On
// success it stores "OK" at 0x053E and halts at `haltOffset` (linear 0xFFF00).
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <initializer_list>
#include <vector>

namespace {

constexpr uint32_t imageSize = 0x10000;
constexpr uint16_t haltOffset = 0xFF00;
constexpr uint16_t resultArea = 0x0500;
constexpr uint16_t resultLength = 0x40;
constexpr uint16_t statusWord = resultArea + 0x3E;

class Assembler {
public:
    Assembler() : image_(imageSize, 0x90) {}

    void bytes(std::initializer_list<uint8_t> list)
    {
        for (uint8_t b : list)
            image_[at_++] = b;
    }
    void word(uint16_t w) { bytes({uint8_t(w), uint8_t(w >> 8)}); }
    uint16_t here() const { return at_; }
    void org(uint16_t offset) { at_ = offset; }
    void patchRel16(uint16_t where, uint16_t target)
    {
        uint16_t rel = uint16_t(target - (where + 2));
        image_[where] = uint8_t(rel);
        image_[where + 1] = uint8_t(rel >> 8);
    }

    // MOV word [slot], AX and the check that it holds `expected`.
    void storeAxAndCheck(uint8_t slot, uint16_t expected)
    {
        uint16_t address = uint16_t(resultArea + 2 * slot);
        bytes({0xA3}); // MOV [address], AX
        word(address);
        expected_.push_back({address, expected});
        bytes({0x81, 0x3E}); // CMP word [address], expected
        word(address);
        word(expected);
        bytes({0x74, 0x05}); // JE past the failure branch
        bytes({0xB0, slot}); // MOV AL, slot
        bytes({0xE9});       // JMP fail
        failJumps_.push_back(here());
        word(0);
    }

    void finish(uint16_t failOffset)
    {
        for (uint16_t where : failJumps_)
            patchRel16(where, failOffset);
    }

    std::vector<uint8_t> image_;
    std::vector<std::pair<uint16_t, uint16_t>> expected_;

private:
    uint16_t at_ = 0;
    std::vector<uint16_t> failJumps_;
};

void assemble(Assembler& a)
{
    // Set-up: flat segments at 0, stack below 0x8000, code in F000.
    a.bytes({0xFA, 0x31, 0xC0, 0x8E, 0xD8, 0x8E, 0xC0, 0x8E, 0xD0}); // CLI; XOR AX,AX; DS=ES=SS=AX
    a.bytes({0xBC, 0x00, 0x80, 0xFC});                               // MOV SP,8000h; CLD

    // 0: PUSHA / POPA keep every register and restore SP.
    a.bytes({0xB8, 0x11, 0x11, 0xBB, 0x44, 0x44, 0xBE, 0x77, 0x77}); // AX, BX, SI
    a.bytes({0x60, 0x31, 0xC0, 0x31, 0xDB, 0x31, 0xF6, 0x61});       // PUSHA; clear; POPA
    a.bytes({0x01, 0xD8, 0x01, 0xF0});                               // ADD AX,BX; ADD AX,SI
    a.storeAxAndCheck(0, 0xCCCC);
    a.bytes({0x89, 0xE0}); // MOV AX,SP
    a.storeAxAndCheck(1, 0x8000);

    // 2: IMUL CX,BX,0010h and PUSH imm8 sign-extended.
    a.bytes({0xBB, 0x23, 0x01, 0x69, 0xCB, 0x10, 0x00, 0x89, 0xC8}); // MOV BX,0123h; IMUL; MOV AX,CX
    a.storeAxAndCheck(2, 0x1230);
    a.bytes({0x6A, 0xFE, 0x58}); // PUSH -2; POP AX
    a.storeAxAndCheck(3, 0xFFFE);

    // 4: shifts and rotates by an immediate count.
    a.bytes({0xB8, 0x34, 0x12, 0xC1, 0xE0, 0x04}); // MOV AX,1234h; SHL AX,4
    a.storeAxAndCheck(4, 0x2340);
    a.bytes({0xC1, 0xC8, 0x08}); // ROR AX,8
    a.storeAxAndCheck(5, 0x4023);

    // 6: ENTER 6,1 builds a frame; LEAVE takes it down.
    a.bytes({0xC8, 0x06, 0x00, 0x01, 0x89, 0xE0}); // ENTER; MOV AX,SP
    a.storeAxAndCheck(6, 0x8000 - 2 - 2 - 6);
    a.bytes({0xC9, 0x89, 0xE0}); // LEAVE; MOV AX,SP
    a.storeAxAndCheck(7, 0x8000);

    // 8: V30 bit instructions on AL; bit 12 of a byte is no bit at all.
    a.bytes({0x31, 0xC0});                   // XOR AX,AX
    a.bytes({0x0F, 0x1C, 0xC0, 0x03});       // SET1 AL,3
    a.bytes({0x0F, 0x1E, 0xC0, 0x00});       // NOT1 AL,0
    a.bytes({0xB1, 0x0C, 0x0F, 0x14, 0xC0}); // MOV CL,12; SET1 AL,CL
    a.bytes({0x0F, 0x1A, 0xC0, 0x03});       // CLR1 AL,3
    a.storeAxAndCheck(8, 0x0001);
    a.bytes({0xB1, 0x0F, 0x0F, 0x15, 0xC0}); // MOV CL,15; SET1 AX,CL
    a.storeAxAndCheck(9, 0x8001);
    a.bytes({0x0F, 0x19, 0xC0, 0x0E, 0x9F}); // TEST1 AX,14; LAHF
    a.bytes({0x25, 0x00, 0x40});             // AND AX,4000h: ZF, bit 14 clear
    a.storeAxAndCheck(10, 0x4000);

    // 11: ADD4S 1234 + 8766 = 10000: result bytes zero, CF and ZF set.
    a.bytes({0xC7, 0x06, 0x00, 0x06, 0x34, 0x12});             // MOV word [0600h],1234h
    a.bytes({0xC7, 0x06, 0x10, 0x06, 0x66, 0x87});             // MOV word [0610h],8766h
    a.bytes({0xBE, 0x00, 0x06, 0xBF, 0x10, 0x06, 0xB1, 0x04}); // SI, DI, CL=4
    a.bytes({0x0F, 0x20, 0x9F});                               // ADD4S; LAHF
    a.bytes({0x25, 0x00, 0x41, 0x0B, 0x06, 0x10, 0x06});       // AND AX,4100h; OR AX,[0610h]
    a.storeAxAndCheck(11, 0x4100);

    // 12: REP CS: MOVSB copies the text below into 0620h.
    uint16_t textFixup = 0;
    a.bytes({0xBE}); // MOV SI,text
    textFixup = a.here();
    a.word(0);
    a.bytes({0xBF, 0x20, 0x06, 0xB9, 0x04, 0x00, 0xF3, 0x2E, 0xA4}); // DI, CX=4, REP CS: MOVSB
    a.bytes({0xA1, 0x22, 0x06});                                     // MOV AX,[0622h]
    a.storeAxAndCheck(12, 0x2130);                                   // "0!" of "V30!"

    // 13: INT 40h through the vector table; the handler loads DX.
    uint16_t handlerFixup = 0;
    a.bytes({0xC7, 0x06, 0x00, 0x01}); // MOV word [0100h],handler
    handlerFixup = a.here();
    a.word(0);
    a.bytes({0xC7, 0x06, 0x02, 0x01, 0x00, 0xF0}); // MOV word [0102h],F000h
    a.bytes({0xCD, 0x40, 0x89, 0xD0});             // INT 40h; MOV AX,DX
    a.storeAxAndCheck(13, 0x5A5A);

    // 14: a divide by zero enters vector 0 and resumes after the DIV.
    uint16_t faultFixup = 0;
    a.bytes({0xC7, 0x06, 0x00, 0x00}); // MOV word [0000h],fault
    faultFixup = a.here();
    a.word(0);
    a.bytes({0xC7, 0x06, 0x02, 0x00, 0x00, 0xF0});                   // MOV word [0002h],F000h
    a.bytes({0x31, 0xDB, 0xB8, 0x00, 0x10, 0xB1, 0x00, 0xF6, 0xF1}); // XOR BX,BX; AX=1000h; CL=0; DIV CL
    a.bytes({0x89, 0xD8});                                           // MOV AX,BX
    a.storeAxAndCheck(14, 0xD1D1);

    // 15: ports read back what was written; OUTSB and INSB through DX.
    a.bytes({0xB0, 0x77, 0xE6, 0x30, 0xB0, 0x00, 0xE4, 0x30}); // OUT 30h,77h; IN AL,30h
    a.bytes({0xB4, 0x00});                                     // MOV AH,0
    a.storeAxAndCheck(15, 0x0077);
    a.bytes({0xBA, 0x31, 0x00, 0xBE, 0x22, 0x06, 0x6E}); // DX=31h; SI=0622h; OUTSB
    a.bytes({0xBF, 0x30, 0x06, 0x6C, 0xA1, 0x30, 0x06}); // DI=0630h; INSB; MOV AX,[0630h]
    a.storeAxAndCheck(16, 0x0030);

    // 17: BOUND inside its limits falls through; DAA after a decimal add.
    a.bytes({0xC7, 0x06, 0x40, 0x06, 0x00, 0x00});       // lower limit 0
    a.bytes({0xC7, 0x06, 0x42, 0x06, 0x09, 0x00});       // upper limit 9
    a.bytes({0xBB, 0x09, 0x00, 0x62, 0x1E, 0x40, 0x06}); // BX=9; BOUND BX,[0640h]
    a.bytes({0xB8, 0x19, 0x00, 0x04, 0x28, 0x27});       // AX=19h; ADD AL,28h; DAA
    a.storeAxAndCheck(17, 0x0047);

    // Success: "OK" in the status word, then halt at a fixed place.
    a.bytes({0xC7, 0x06});
    a.word(statusWord);
    a.word(0x4B4F);
    a.bytes({0xE9});
    uint16_t toHalt = a.here();
    a.word(0);

    // Failure: the check's number (in AL) in the status word, then a tight loop.
    uint16_t fail = a.here();
    a.bytes({0xB4, 0x00, 0xA3}); // MOV AH,0; MOV [status],AX
    a.word(statusWord);
    a.bytes({0xEB, 0xFE}); // failLoop: JMP $
    a.finish(fail);

    uint16_t text = a.here();
    a.bytes({'V', '3', '0', '!'});
    uint16_t handler = a.here();
    a.bytes({0xBA, 0x5A, 0x5A, 0xCF}); // MOV DX,5A5Ah; IRET
    uint16_t fault = a.here();
    a.bytes({0xBB, 0xD1, 0xD1, 0xCF}); // MOV BX,D1D1h; IRET

    a.image_[textFixup] = uint8_t(text);
    a.image_[textFixup + 1] = uint8_t(text >> 8);
    a.image_[handlerFixup] = uint8_t(handler);
    a.image_[handlerFixup + 1] = uint8_t(handler >> 8);
    a.image_[faultFixup] = uint8_t(fault);
    a.image_[faultFixup + 1] = uint8_t(fault >> 8);
    a.patchRel16(toHalt, haltOffset);

    a.org(haltOffset);
    a.bytes({0xF4, 0xEB, 0xFD}); // HLT; JMP back to it
    a.org(0xFFF0);
    a.bytes({0xEA, 0x00, 0x00, 0x00, 0xF0}); // reset: JMP F000:0000
    a.expected_.push_back({statusWord, 0x4B4F});
}

bool writeFile(const char* path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(out);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: v30_selftest_image PROGRAM.bin EXPECTED.bin\n");
        return 2;
    }
    Assembler a;
    assemble(a);
    std::vector<uint8_t> expected(resultLength, 0);
    for (const auto& [address, value] : a.expected_) {
        expected[address - resultArea] = uint8_t(value);
        expected[address - resultArea + 1] = uint8_t(value >> 8);
    }
    if (!writeFile(argv[1], a.image_) || !writeFile(argv[2], expected)) {
        std::fprintf(stderr, "v30_selftest_image: cannot write the output files\n");
        return 1;
    }
    return 0;
}
