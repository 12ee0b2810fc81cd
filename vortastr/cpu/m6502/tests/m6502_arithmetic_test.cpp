// ADC and SBC over every operand pair and both carries, in binary and decimal mode, against a
// reference written from the published NMOS rules (decimal sequences step by step as published,
// binary flags from signed and unsigned arithmetic).
#include "m6502_test_machine.h"

namespace vortastr::m6502test {
namespace {

struct Outcome {
    uint8_t a;
    uint8_t flags; // N V Z C
};

constexpr uint8_t arithmeticFlags = N | V | Z | C;

Outcome binaryAdd(int a, int b, int carry)
{
    int sum = a + b + carry;
    int signedSum = int8_t(a) + int8_t(b) + carry;
    uint8_t r = uint8_t(sum);
    return {r, uint8_t((r & 0x80 ? N : 0) | (signedSum < -128 || signedSum > 127 ? V : 0) | (r == 0 ? Z : 0) |
                       (sum > 0xFF ? C : 0))};
}

Outcome binarySubtract(int a, int b, int carry)
{
    int difference = a - b - (1 - carry);
    int signedDifference = int8_t(a) - int8_t(b) - (1 - carry);
    uint8_t r = uint8_t(difference);
    return {r, uint8_t((r & 0x80 ? N : 0) | (signedDifference < -128 || signedDifference > 127 ? V : 0) |
                       (r == 0 ? Z : 0) | (difference >= 0 ? C : 0))};
}

Outcome decimalAdd(int a, int b, int carry)
{
    // Accumulator and carry.
    int low = (a & 0x0F) + (b & 0x0F) + carry;
    if (low >= 0x0A)
        low = ((low + 0x06) & 0x0F) + 0x10;
    int sum = (a & 0xF0) + (b & 0xF0) + low;
    if (sum >= 0xA0)
        sum += 0x60;
    // N and V from the signed sum after the low-nibble step; Z from the binary sum.
    int signedSum = int8_t(a & 0xF0) + int8_t(b & 0xF0) + low;
    uint8_t flags = uint8_t((signedSum & 0x80 ? N : 0) | (signedSum < -128 || signedSum > 127 ? V : 0) |
                            (uint8_t(a + b + carry) == 0 ? Z : 0) | (sum >= 0x100 ? C : 0));
    return {uint8_t(sum), flags};
}

Outcome decimalSubtract(int a, int b, int carry)
{
    int low = (a & 0x0F) - (b & 0x0F) + carry - 1;
    if (low < 0)
        low = ((low - 0x06) & 0x0F) - 0x10;
    int difference = (a & 0xF0) - (b & 0xF0) + low;
    if (difference < 0)
        difference -= 0x60;
    // Every flag is the binary subtraction's.
    return {uint8_t(difference), binarySubtract(a, b, carry).flags};
}

class Arithmetic : public M6502Machine {
protected:
    // Runs opcode #b with A = a and the given P; returns A and the arithmetic flags.
    Outcome run(uint8_t opcode, int a, int b, uint8_t p)
    {
        mem[0x0200] = opcode;
        mem[0x0201] = uint8_t(b);
        setRegisters(0x0200, uint8_t(a), 0, 0, 0xFF, p);
        M6502Engine::execute(1);
        return {ctx().a, uint8_t(ctx().p & arithmeticFlags)};
    }

    void checkAll(uint8_t opcode, bool decimal, Outcome (*reference)(int, int, int))
    {
        int failures = 0;
        for (int carry = 0; carry < 2; ++carry) {
            for (int a = 0; a < 256; ++a) {
                for (int b = 0; b < 256; ++b) {
                    uint8_t p = uint8_t(U | I | (decimal ? D : 0) | (carry ? C : 0));
                    Outcome got = run(opcode, a, b, p);
                    Outcome want = reference(a, b, carry);
                    // The other flags are left as they were.
                    if ((ctx().p & ~arithmeticFlags) != (p & ~arithmeticFlags) || got.a != want.a ||
                        got.flags != want.flags) {
                        if (++failures <= 10)
                            ADD_FAILURE() << "a=" << a << " b=" << b << " carry=" << carry << ": got A=" << int(got.a)
                                          << " flags=" << int(got.flags) << ", want A=" << int(want.a)
                                          << " flags=" << int(want.flags);
                    }
                }
            }
        }
        EXPECT_EQ(failures, 0);
    }
};

TEST_F(Arithmetic, AdcBinaryAllOperands) { checkAll(0x69, false, binaryAdd); }
TEST_F(Arithmetic, SbcBinaryAllOperands) { checkAll(0xE9, false, binarySubtract); }
TEST_F(Arithmetic, AdcDecimalAllOperands) { checkAll(0x69, true, decimalAdd); }
TEST_F(Arithmetic, SbcDecimalAllOperands) { checkAll(0xE9, true, decimalSubtract); }

// A few published decimal examples, as a check on the reference itself.
TEST(ArithmeticReference, PublishedDecimalExamples)
{
    EXPECT_EQ(decimalAdd(0x58, 0x46, 1).a, 0x05);
    EXPECT_EQ(decimalAdd(0x58, 0x46, 1).flags & C, C);
    EXPECT_EQ(decimalAdd(0x12, 0x34, 0).a, 0x46);
    EXPECT_EQ(decimalAdd(0x81, 0x92, 0).a, 0x73);
    EXPECT_EQ(decimalSubtract(0x46, 0x12, 1).a, 0x34);
    EXPECT_EQ(decimalSubtract(0x40, 0x13, 1).a, 0x27);
    EXPECT_EQ(decimalSubtract(0x32, 0x02, 0).a, 0x29);
    EXPECT_EQ(decimalSubtract(0x12, 0x21, 1).a, 0x91);
    EXPECT_EQ(decimalSubtract(0x12, 0x21, 1).flags & C, 0);
}

} // namespace
} // namespace vortastr::m6502test
