// BM_PngEncode: a screenshot's encoding, the step of the screenshot command
// that runs on the event loop after the frame is drawn and read back. The
// picture is the default scene, drawn in a window of 800x600 (the default
// window) and of 1920x1080 and read back as the screenshot command reads it:
//   BM_PngEncode/libpng/... PngEncode, what screenshots write (libpng
//                          in its fast mode: rows unfiltered)
//   BM_PngEncode/stb/...   stb_image_write at its defaults (Debian's libstb),
//                          the writer screenshots used before, for comparison
// The counter "bytes" is the file's size. The arguments are the window's width
// and height. Needs an X display (tools/bench.sh starts a virtual one).
#include "formats/PngImage.h"
#include "app/SceneWindow.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <stb/stb_image_write.h>

#include <algorithm>
#include <new>

namespace {

enum class Encoder { LibPng, Stb };

// The default scene drawn at that size and read back bottom row first, as
// the screenshot command does; an empty record when it cannot be drawn.
CTgaImage DrawnScene(int width, int height)
{
    CTgaImage image;
    CMainScene* scene = OpenScene(KX_SOURCE_DIR "/default");
    if (!scene || !ResizeSceneWindow(width, height))
        return image;
    for (int i = 0; i < 3; ++i)  // past the renderer's first compilations
        scene->Display();
    glFinish();
    image.width = static_cast<unsigned short>(width);
    image.height = static_cast<unsigned short>(height);
    image.bitsPerPixel = 24;
    const std::size_t size = static_cast<std::size_t>(width) * height * 3;
    image.pixels.reset(new (std::nothrow) unsigned char[size]);
    if (!image.pixels)
        return CTgaImage();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, image.pixels.get());
    // A black picture would measure nothing of a real screenshot.
    if (std::all_of(image.pixels.get(), image.pixels.get() + size, [](unsigned char b) { return b == 0; }))
        return CTgaImage();
    return image;
}

std::size_t StbEncode(const CTgaImage& image)
{
    std::size_t bytes = 0;
    const int stride = image.width * 3;
    const unsigned char* top = image.pixels.get() + static_cast<std::size_t>(image.height - 1) * stride;
    const auto count = [](void* context, void*, int size) { *static_cast<std::size_t*>(context) += size; };
    if (!stbi_write_png_to_func(count, &bytes, image.width, image.height, 3, top, -stride))
        return 0;
    return bytes;
}

void BM_PngEncode(benchmark::State& state, Encoder encoder)
{
    const CTgaImage image = DrawnScene(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    if (!image.pixels) {
        state.SkipWithError("pas d'affichage X (tools/bench.sh en démarre un virtuel), scène illisible ou image noire");
        return;
    }
    std::size_t bytes = 0;
    for (auto _ : state) {
        bytes = encoder == Encoder::LibPng ? PngEncode(image).size() : StbEncode(image);
        benchmark::DoNotOptimize(bytes);
    }
    if (bytes == 0) {
        state.SkipWithError("l'encodage a échoué");
        return;
    }
    state.counters["bytes"] = benchmark::Counter(static_cast<double>(bytes), benchmark::Counter::kDefaults,
                                                 benchmark::Counter::OneK::kIs1024);
}

int RegisterEncoders()
{
    const int sizes[][2] = {{800, 600}, {1920, 1080}};
    for (const auto& size : sizes) {
        benchmark::RegisterBenchmark("BM_PngEncode/libpng", BM_PngEncode, Encoder::LibPng)
            ->ArgNames({"width", "height"})
            ->Args({size[0], size[1]})
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("BM_PngEncode/stb", BM_PngEncode, Encoder::Stb)
            ->ArgNames({"width", "height"})
            ->Args({size[0], size[1]})
            ->Unit(benchmark::kMillisecond);
    }
    return 0;
}
const int kEncodersRegistered = RegisterEncoders();

}  // namespace
