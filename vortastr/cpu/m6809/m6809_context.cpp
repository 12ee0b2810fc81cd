#include "m6809_context.h"

namespace vortastr {

void m6809MapPages(M6809Context& context, unsigned firstPage, unsigned lastPage, const uint8_t* readBytes,
                   uint8_t* writeBytes)
{
    for (unsigned p = firstPage; p <= lastPage && p < 256; ++p) {
        if (readBytes)
            context.readPage[p] = readBytes + p * 256;
        if (writeBytes)
            context.writePage[p] = writeBytes + p * 256;
    }
}

void m6809MapHandlers(M6809Context& context, unsigned firstPage, unsigned lastPage, M6809ReadHandler read,
                      M6809WriteHandler write)
{
    for (unsigned p = firstPage; p <= lastPage && p < 256; ++p) {
        if (read) {
            context.readPage[p] = nullptr;
            context.readHandler[p] = read;
        }
        if (write) {
            context.writePage[p] = nullptr;
            context.writeHandler[p] = write;
        }
    }
}

} // namespace vortastr
