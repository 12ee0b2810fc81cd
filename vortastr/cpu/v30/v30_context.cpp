#include "v30_context.h"

namespace vortastr::v30 {

namespace {

class RecordWriter {
public:
    explicit RecordWriter(V30ContextRecord& record) : record_(record) {}
    void put(uint32_t value, int bytes)
    {
        for (int i = 0; i < bytes; ++i)
            record_[at_++] = uint8_t(value >> (8 * i));
    }

private:
    V30ContextRecord& record_;
    std::size_t at_ = 0;
};

class RecordReader {
public:
    explicit RecordReader(const uint8_t* record) : record_(record) {}
    uint32_t get(int bytes)
    {
        uint32_t value = 0;
        for (int i = 0; i < bytes; ++i)
            value |= uint32_t(record_[at_++]) << (8 * i);
        return value;
    }

private:
    const uint8_t* record_;
    std::size_t at_ = 0;
};

} // namespace

V30ContextRecord serialize(const V30Context& c)
{
    V30ContextRecord record{};
    RecordWriter w(record);
    w.put(c.ip, 4);
    for (uint32_t s : c.segment)
        w.put(s, 4);
    for (uint32_t b : c.segmentBase)
        w.put(b, 4);
    for (uint16_t r : c.reg)
        w.put(r, 2);
    w.put(c.tf, 1);
    w.put(c.interruptFlag, 1);
    w.put(c.df, 1);
    w.put(c.auxValue, 4);
    w.put(c.overflowValue, 4);
    w.put(uint32_t(c.signValue), 4);
    w.put(c.zeroValue, 4);
    w.put(c.carryValue, 4);
    w.put(c.parityValue, 4);
    w.put(c.pendingVector, 4);
    w.put(0, 4); // memory base: meaningless outside this process
    return record;
}

void deserialize(const uint8_t* record, V30Context& c)
{
    RecordReader r(record);
    c.ip = r.get(4) & 0xFFFF;
    for (int i = 0; i < 4; ++i)
        c.segment[i] = r.get(4);
    for (int i = 0; i < 4; ++i)
        r.get(4); // bases follow from the segment values
    for (int i = 0; i < 4; ++i)
        c.setSegment(i, uint16_t(c.segment[i]));
    for (uint16_t& reg : c.reg)
        reg = uint16_t(r.get(2));
    c.tf = r.get(1) ? 1 : 0;
    c.interruptFlag = r.get(1) ? 1 : 0;
    c.df = r.get(1) ? 1 : 0;
    c.auxValue = r.get(4);
    c.overflowValue = r.get(4);
    c.signValue = int32_t(r.get(4));
    c.zeroValue = r.get(4);
    c.carryValue = r.get(4);
    c.parityValue = r.get(4);
    c.pendingVector = r.get(4) & 0xFF;
    r.get(4); // memory base: the slot's own block stays
}

} // namespace vortastr::v30
