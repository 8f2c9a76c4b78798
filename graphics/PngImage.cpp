#include "graphics/PngImage.h"

#include "app/Log.h"
#include "graphics/FileReplace.h"

#define ZLIB_CONST
#include <zlib.h>

#include <cstdint>

namespace {

// The deflate stream goes out in IDAT chunks of this size (the last one
// shorter): whatever the picture, a chunk stays far below the format's limit
// of 2^31 bytes, and the buffer for zlib's output stays small.
constexpr std::size_t kChunkSize = 256 * 1024;

void AppendBigEndian(std::vector<unsigned char>& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<unsigned char>(value >> shift));
}

// Length, type, data, then the CRC of the type and data.
void AppendChunk(std::vector<unsigned char>& out, const char (&type)[5], const unsigned char* data, std::size_t size)
{
    AppendBigEndian(out, static_cast<std::uint32_t>(size));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    if (size > 0)
        out.insert(out.end(), data, data + size);
    AppendBigEndian(out, static_cast<std::uint32_t>(crc32(0L, out.data() + start, static_cast<uInt>(4 + size))));
}

// A deflate stream whose output becomes IDAT chunks of the PNG.
class IdatWriter {
public:
    explicit IdatWriter(std::vector<unsigned char>& png) : m_png(png), m_chunk(kChunkSize)
    {
        m_ready = deflateInit(&m_stream, Z_BEST_SPEED) == Z_OK;
        m_stream.next_out = m_chunk.data();
        m_stream.avail_out = static_cast<uInt>(m_chunk.size());
    }
    ~IdatWriter()
    {
        if (m_ready)
            deflateEnd(&m_stream);
    }
    IdatWriter(const IdatWriter&) = delete;
    IdatWriter& operator=(const IdatWriter&) = delete;

    // Compresses SIZE bytes; Z_FINISH ends the stream and writes out what
    // is left. False when zlib fails.
    bool Write(const unsigned char* data, std::size_t size, int flush)
    {
        if (!m_ready)
            return false;
        m_stream.next_in = data;
        m_stream.avail_in = static_cast<uInt>(size);
        for (;;) {
            const int status = deflate(&m_stream, flush);
            if (status == Z_STREAM_ERROR)
                return false;
            if (m_stream.avail_out == 0) {
                Emit();
                continue;
            }
            // Output room was left: deflate took everything it was given,
            // and a finish has ended the stream.
            if (flush != Z_FINISH)
                return m_stream.avail_in == 0;
            if (status != Z_STREAM_END)
                return false;
            Emit();
            return true;
        }
    }

private:
    void Emit()
    {
        const std::size_t used = m_chunk.size() - m_stream.avail_out;
        if (used > 0)
            AppendChunk(m_png, "IDAT", m_chunk.data(), used);
        m_stream.next_out = m_chunk.data();
        m_stream.avail_out = static_cast<uInt>(m_chunk.size());
    }

    std::vector<unsigned char>& m_png;
    std::vector<unsigned char> m_chunk;
    z_stream m_stream{};
    bool m_ready = false;
};

}  // namespace

std::vector<unsigned char> PngEncode(const CTgaImage& image)
{
    if (image.bitsPerPixel != 24 || !image.pixels || image.width == 0 || image.height == 0)
        return {};
    static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    std::vector<unsigned char> png(kSignature, kSignature + sizeof kSignature);
    std::vector<unsigned char> header;
    AppendBigEndian(header, image.width);
    AppendBigEndian(header, image.height);
    // 8 bits per channel, RGB, deflate, adaptive filtering, no interlace.
    header.insert(header.end(), {8, 2, 0, 0, 0});
    AppendChunk(png, "IHDR", header.data(), header.size());

    // The record's rows go bottom first: the file's first row is its last.
    // Each row starts with its filter type, 0 (none).
    const std::size_t stride = static_cast<std::size_t>(image.width) * 3;
    const unsigned char noFilter = 0;
    IdatWriter idat(png);
    for (int row = image.height - 1; row >= 0; --row) {
        const unsigned char* pixels = image.pixels.get() + static_cast<std::size_t>(row) * stride;
        if (!idat.Write(&noFilter, 1, Z_NO_FLUSH) || !idat.Write(pixels, stride, row == 0 ? Z_FINISH : Z_NO_FLUSH))
            return {};
    }
    AppendChunk(png, "IEND", nullptr, 0);
    return png;
}

bool PngImageSave(const char* fileName, const CTgaImage& image)
{
    if (image.bitsPerPixel != 24 || !image.pixels || image.width == 0 || image.height == 0) {
        LogError("PngImageSave -- Image de 24 bits par pixel attendue pour %s", fileName);
        return false;
    }
    const std::vector<unsigned char> png = PngEncode(image);
    const bool written = !png.empty() && ReplaceFile(fileName, [&](FILE* file) {
        return std::fwrite(png.data(), 1, png.size(), file) == png.size();
    });
    if (!written)
        LogError("PngImageSave -- Impossible d'écrire le fichier %s", fileName);
    return written;
}
