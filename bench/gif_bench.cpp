// Decode-and-compose throughput of the animated GIF control's model against
// giflib (DGifSlurp, then the same composition) on a fixed corpus made by our
// encoder, measured the way the program meets it: the default allocator, the
// two decoders' calls interleaved, so that each runs on the heap the other
// leaves, and each file loaded in both of the program's ways: by one model
// that loads picture after picture as the animated picture control does
// ("reused"), and from nothing, as the picture store loads a picture
// ("fresh": a still decoded straight into a picture of its own, an animation
// into a fresh model).
// Prints, per file and over the corpus, giflib's processor time divided by
// ours in both ways (above 1.0 we are faster), and the fresh memory pages
// (minor page faults) each touches per file.
#include "gif/GifAnimation.h"
#include "gif/GifComposer.h"
#include "gif/GifEncoder.h"
#include "gif/GifFirstPicture.h"

#include <benchmark/benchmark.h>
#include <gif_lib.h>

#include <sys/resource.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <map>
#include <random>
#include <string>
#include <vector>

using namespace tessaroc::gif;

namespace {

struct CorpusFile
{
    std::string name;
    std::vector<std::uint8_t> bytes;
    int frames = 0;
};

std::vector<std::uint32_t> palette(int colors, unsigned seed)
{
    std::mt19937 random(seed);
    std::vector<std::uint32_t> p(static_cast<std::size_t>(colors));
    for (auto &c : p)
        c = random() & 0xFFFFFF;
    return p;
}

// Flat shapes with soft edges, the way the table's own pictures look.
std::vector<std::uint8_t> drawing(int width, int height, int colors, int phase)
{
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width * height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int dx = x - width / 2;
            const int dy = y - height / 2;
            const int ring = static_cast<int>(std::sqrt(dx * dx + dy * dy)) / 6 + phase;
            const int band = (x / 32 + y / 48) % 3;
            pixels[static_cast<std::size_t>(y * width + x)]
                    = static_cast<std::uint8_t>((ring + band) % colors);
        }
    }
    return pixels;
}

std::vector<std::uint8_t> noise(int width, int height, int colors, unsigned seed)
{
    std::mt19937 random(seed);
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width * height));
    for (auto &p : pixels)
        p = static_cast<std::uint8_t>(random() % static_cast<unsigned>(colors));
    return pixels;
}

std::vector<CorpusFile> makeCorpus()
{
    std::vector<CorpusFile> corpus;

    GifFileData table{1024, 768, palette(256, 1), std::nullopt, {}};
    table.images.push_back({0, 0, 1024, 768, drawing(1024, 768, 256, 0), {}, 0, 0, std::nullopt});
    corpus.push_back({"tableBackground1024x768", EncodeGif(table)});

    GifFileData grain{1024, 768, palette(256, 6), std::nullopt, {}};
    grain.images.push_back({0, 0, 1024, 768, noise(1024, 768, 256, 7), {}, 0, 0, std::nullopt});
    corpus.push_back({"noise1024x768", EncodeGif(grain)});

    GifFileData clock{120, 120, palette(64, 2), std::uint16_t{0}, {}};
    for (int f = 0; f < 24; ++f) {
        const int size = 60 + (f % 6) * 10;
        const int at = (120 - size) / 2;
        clock.images.push_back({at, at, size, size, drawing(size, size, 64, f),
                                f % 3 ? std::vector<std::uint32_t>{} : palette(64, 10 + f), 80,
                                static_cast<std::uint8_t>(f % 4 == 3           ? 3
                                                                  : f % 4 == 2 ? 2
                                                                               : 1),
                                std::uint8_t{0}});
    }
    corpus.push_back({"clock120x120x24", EncodeGif(clock)});

    GifFileData sprites{48, 48, palette(16, 3), std::uint16_t{3}, {}};
    for (int f = 0; f < 8; ++f)
        sprites.images.push_back(
                {0, 0, 48, 48, drawing(48, 48, 16, f), {}, 100, 2, std::uint8_t{0}});
    corpus.push_back({"badge48x48x8", EncodeGif(sprites)});

    GifFileData photo{320, 240, palette(256, 4), std::nullopt, {}};
    for (int f = 0; f < 4; ++f)
        photo.images.push_back({0,
                                0,
                                320,
                                240,
                                noise(320, 240, 256, 5 + static_cast<unsigned>(f)),
                                {},
                                50,
                                1,
                                std::nullopt});
    corpus.push_back({"noise320x240x4", EncodeGif(photo)});
    return corpus;
}

const std::vector<CorpusFile> &corpus()
{
    static const std::vector<CorpusFile> files = [] {
        std::vector<CorpusFile> made = makeCorpus();
        for (CorpusFile &file : made)
            file.frames = GifAnimation().LoadGifArray(file.bytes);
        return made;
    }();
    return files;
}

// One load as the control makes it: the file in, every frame built and shown
// once.
void decodeOurs(GifAnimation &anim, const std::vector<std::uint8_t> &bytes)
{
    const int frames = anim.LoadGifArray(bytes);
    anim.BuildFrames();
    for (int n = 1; n <= frames; ++n)
        benchmark::DoNotOptimize(anim.ComposeFrame(n).data());
}

// One load from nothing: a still as the picture store makes its picture, an
// animation by a model of its own.
void decodeOursFresh(const CorpusFile &file)
{
    if (file.frames == 1) {
        const FirstPicture picture = DecodeFirstPicture(file.bytes);
        benchmark::DoNotOptimize(picture.pixels.get());
        return;
    }
    GifAnimation anim;
    decodeOurs(anim, file.bytes);
}

struct MemoryInput
{
    const std::vector<std::uint8_t> *bytes;
    std::size_t pos;
};

int readMemory(GifFileType *gif, GifByteType *buffer, int length)
{
    auto *in = static_cast<MemoryInput *>(gif->UserData);
    const std::size_t n = std::min(static_cast<std::size_t>(length), in->bytes->size() - in->pos);
    std::memcpy(buffer, in->bytes->data() + in->pos, n);
    in->pos += n;
    return static_cast<int>(n);
}

void decodeGiflib(const std::vector<std::uint8_t> &bytes)
{
    MemoryInput input{&bytes, 0};
    int error = 0;
    GifFileType *gif = DGifOpen(&input, readMemory, &error);
    if (!gif || DGifSlurp(gif) != GIF_OK) {
        std::fprintf(stderr, "giflib refused a corpus file\n");
        std::abort();
    }
    GifComposer composer;
    composer.reset(gif->SWidth, gif->SHeight);
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage &image = gif->SavedImages[i];
        GraphicsControlBlock gcb;
        DGifSavedExtensionToGCB(gif, i, &gcb);
        GifFrame frame;
        frame.left = image.ImageDesc.Left;
        frame.top = image.ImageDesc.Top;
        frame.width = image.ImageDesc.Width;
        frame.height = image.ImageDesc.Height;
        frame.transparent = gcb.TransparentColor >= 0;
        frame.TransparentIndex = static_cast<std::uint8_t>(std::max(gcb.TransparentColor, 0));
        frame.disposal = static_cast<std::uint8_t>(gcb.DisposalMode & 3);
        const ColorMapObject *map
                = image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap;
        ColorTable table;
        for (int c = 0; c < map->ColorCount; ++c)
            table.colors[static_cast<std::size_t>(c)] = static_cast<std::uint32_t>(
                    map->Colors[c].Red << 16 | map->Colors[c].Green << 8 | map->Colors[c].Blue);
        table.count = static_cast<std::uint16_t>(map->ColorCount);
        if (i > 0) {
            const SavedImage &before = gif->SavedImages[i - 1];
            GraphicsControlBlock previous;
            DGifSavedExtensionToGCB(gif, i - 1, &previous);
            GifFrame done;
            done.left = before.ImageDesc.Left;
            done.top = before.ImageDesc.Top;
            done.width = before.ImageDesc.Width;
            done.height = before.ImageDesc.Height;
            done.disposal = static_cast<std::uint8_t>(previous.DisposalMode & 3);
            composer.dispose(done);
        }
        composer.draw(frame, image.RasterBits, table);
        benchmark::DoNotOptimize(composer.canvas().data());
    }
    DGifCloseFile(gif, &error);
}

std::int64_t pixelsOf(const std::vector<std::uint8_t> &bytes)
{
    GifAnimation anim;
    const int frames = anim.LoadGifArray(bytes);
    std::int64_t pixels = 0;
    for (int n = 1; n <= frames; ++n)
        pixels += std::int64_t{anim.frame(n).width} * anim.frame(n).height;
    return pixels;
}

// Processor time of this thread, page faults included.
double threadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Fresh memory pages this thread has touched so far (minor page faults).
double threadPageFaults()
{
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    return static_cast<double>(usage.ru_minflt);
}

enum class Model { Reused, Fresh };

// Decodes the selected files with both decoders, one call of each in turn;
// which goes first alternates from pass to pass. The benchmark's time is
// ours; the counters hold both and their ratio.
void runInterleaved(benchmark::State &state, const CorpusFile *only, Model model)
{
    std::vector<const CorpusFile *> files;
    std::int64_t bytes = 0;
    std::int64_t pixels = 0;
    for (const CorpusFile &file : corpus()) {
        if (only && &file != only)
            continue;
        files.push_back(&file);
        bytes += static_cast<std::int64_t>(file.bytes.size());
        pixels += pixelsOf(file.bytes);
    }
    GifAnimation kept;
    double ours = 0;
    double theirs = 0;
    double oursPages = 0;
    double theirPages = 0;
    bool oursFirst = true;
    for (auto _ : state) {
        double pass = 0;
        for (const CorpusFile *file : files) {
            for (int turn = 0; turn < 2; ++turn) {
                const bool runOurs = (turn == 0) == oursFirst;
                const double faults = threadPageFaults();
                const double start = threadSeconds();
                if (runOurs && model == Model::Reused) {
                    decodeOurs(kept, file->bytes);
                } else if (runOurs) {
                    decodeOursFresh(*file);
                } else {
                    decodeGiflib(file->bytes);
                }
                const double spent = threadSeconds() - start;
                (runOurs ? ours : theirs) += spent;
                (runOurs ? oursPages : theirPages) += threadPageFaults() - faults;
                if (runOurs)
                    pass += spent;
            }
        }
        oursFirst = !oursFirst;
        state.SetIterationTime(pass);
    }
    const auto n = static_cast<double>(state.iterations());
    const auto calls = n * static_cast<double>(files.size());
    state.counters["ours_pages"] = oursPages / calls;
    state.counters["giflib_pages"] = theirPages / calls;
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["pixels"] = benchmark::Counter(static_cast<double>(state.iterations() * pixels),
                                                  benchmark::Counter::kIsRate);
    state.counters["ours_us"] = ours / n * 1e6;
    state.counters["giflib_us"] = theirs / n * 1e6;
    state.counters["ratio"] = ours > 0 ? theirs / ours : 0.0;
}

class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        // With repetitions, the median stands for the benchmark.
        for (const Run &run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median")
                continue;
            const auto ratio = run.counters.find("ratio");
            if (ratio != run.counters.end())
                ratios[run.run_name.function_name] = ratio->second.value;
        }
        ConsoleReporter::ReportRuns(runs);
    }

    std::map<std::string, double> ratios;
};

} // namespace

int main(int argc, char **argv)
{
    std::vector<std::string> names{"corpus"};
    for (const CorpusFile &file : corpus())
        names.push_back(file.name);
    const std::pair<const char *, Model> models[]
            = {{"reused", Model::Reused}, {"fresh", Model::Fresh}};
    for (const auto &[prefix, model] : models) {
        for (const std::string &name : names) {
            const CorpusFile *only = nullptr;
            for (const CorpusFile &file : corpus())
                if (file.name == name)
                    only = &file;
            benchmark::RegisterBenchmark((std::string(prefix) + "/" + name).c_str(), runInterleaved,
                                         only, model)
                    ->UseManualTime()
                    ->Unit(benchmark::kMicrosecond);
        }
    }
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\ngiflib time / our time (goal >= 1.5), one model reused and a fresh model per "
                "file:\n");
    std::printf("  %-26s %8s %8s\n", "", "reused", "fresh");
    for (const std::string &name : names) {
        std::printf("  %-26s", name.c_str());
        for (const auto &[prefix, model] : models) {
            const auto ratio = reporter.ratios.find(std::string(prefix) + "/" + name);
            if (ratio != reporter.ratios.end())
                std::printf(" %8.2f", ratio->second);
            else
                std::printf(" %8s", "-");
        }
        std::printf("\n");
    }
    benchmark::Shutdown();
    return 0;
}
