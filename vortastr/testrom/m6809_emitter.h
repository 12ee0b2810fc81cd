#pragma once
// A small 6809 code emitter for generated test ROMs: opcodes and operands are written as bytes
// at a processor address, labels are resolved at the end. Boards that fetch opcodes through a
// decryption give the emitter the inverse as an OpcodeEncryption: it turns each opcode byte
// (and the byte after a 0x10/0x11 prefix) into the byte the ROM holds at that address.
// Operand bytes are always stored plain.
#include <cstdint>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace vortastr::testrom {

// ROM byte for an opcode byte at a processor address; empty for boards with plain opcodes.
using OpcodeEncryption = std::function<uint8_t(uint16_t address, uint8_t opcode)>;

class Emitter {
public:
    // Code for addresses origin .. origin + size - 1.
    Emitter(uint16_t origin, std::size_t size, OpcodeEncryption encryption = {})
        : origin_(origin), bytes_(size, 0), encryption_(std::move(encryption))
    {}

    uint16_t here() const { return pc_; }
    void org(uint16_t address) { pc_ = address; }
    void label(const std::string& name) { labels_[name] = pc_; }
    uint16_t address(const std::string& name) const { return labels_.at(name); }

    // One opcode byte (two when prefixed), then its operand bytes.
    void op(uint8_t opcode) { put(opcode, true); }
    void op(uint8_t prefix, uint8_t opcode)
    {
        put(prefix, true);
        put(opcode, true);
    }
    void byte(uint8_t value) { put(value, false); }
    void word(uint16_t value)
    {
        byte(static_cast<uint8_t>(value >> 8));
        byte(static_cast<uint8_t>(value));
    }
    // A 16-bit operand naming a label.
    void word(const std::string& name)
    {
        fixups_.push_back({pc_, name, false});
        word(uint16_t{0});
    }
    // A branch opcode with an 8-bit displacement to a label.
    void branch(uint8_t opcode, const std::string& name)
    {
        op(opcode);
        fixups_.push_back({pc_, name, true});
        byte(0);
    }
    void data(const std::vector<uint8_t>& values)
    {
        for (uint8_t v : values)
            byte(v);
    }

    // Resolves the labels; throws when one is unknown or a branch is out of reach.
    const std::vector<uint8_t>& finish()
    {
        for (const Fixup& f : fixups_) {
            const auto found = labels_.find(f.name);
            if (found == labels_.end())
                throw std::runtime_error("unknown label " + f.name);
            if (f.relative) {
                const int displacement = int(found->second) - int(f.at + 1);
                if (displacement < -128 || displacement > 127)
                    throw std::runtime_error("branch out of reach: " + f.name);
                at(f.at) = static_cast<uint8_t>(displacement);
            } else {
                at(f.at) = static_cast<uint8_t>(found->second >> 8);
                at(uint16_t(f.at + 1)) = static_cast<uint8_t>(found->second);
            }
        }
        fixups_.clear();
        return bytes_;
    }

private:
    struct Fixup {
        uint16_t at;
        std::string name;
        bool relative;
    };

    uint8_t& at(uint16_t address)
    {
        const std::size_t offset = std::size_t(address - origin_);
        if (address < origin_ || offset >= bytes_.size())
            throw std::runtime_error("code outside its ROM");
        return bytes_[offset];
    }
    void put(uint8_t value, bool opcode)
    {
        at(pc_) = opcode && encryption_ ? encryption_(pc_, value) : value;
        ++pc_;
    }

    uint16_t origin_;
    uint16_t pc_ = 0;
    std::vector<uint8_t> bytes_;
    OpcodeEncryption encryption_;
    std::map<std::string, uint16_t> labels_;
    std::vector<Fixup> fixups_;
};

} // namespace vortastr::testrom
