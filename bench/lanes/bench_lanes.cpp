// Lot pictures from file bytes to photo slot, against libjpeg-turbo decoding alone, and a new
// lot's three downloads from the local web server into the cache.
#include "lanes/fetchdm.h"
#include "lanes/jpegdecoder.h"
#include "lanes/lotimageloader.h"
#include "tools/auction-house/web/auctionwebserver.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>
#include <memory>
#include <vector>

namespace {

using namespace qev;

struct Pictures {
    QByteArray photo;      // 640 x 480 car photo
    QByteArray card;       // 1024 x 1024 exhibit card
    QByteArray largePhoto; // 2048 x 1536 car photo
};

const Pictures& Samples() {
    static const Pictures pictures = [] {
        AuctionWebConfig config;
        AuctionWebServer server(config);
        AuctionWebConfig large;
        large.photoSize = QSize(2048, 1536);
        AuctionWebServer largeServer(large);
        return Pictures{server.PhotoJpeg(45), server.CardJpeg(45), largeServer.PhotoJpeg(45)};
    }();
    return pictures;
}

// libjpeg-turbo on its own: the whole picture to RGB rows, nothing else.
struct BareError {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

bool BareDecode(const QByteArray& jpeg, std::vector<unsigned char>& pixels) {
    jpeg_decompress_struct cinfo{};
    BareError error{};
    cinfo.err = jpeg_std_error(&error.pub);
    error.pub.error_exit = [](j_common_ptr info) {
        std::longjmp(reinterpret_cast<BareError*>(info->err)->jump, 1);
    };
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(jpeg.constData()),
                 static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    const size_t stride = size_t(cinfo.output_width) * 3;
    pixels.resize(stride * cinfo.output_height);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = pixels.data() + stride * cinfo.output_scanline;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

void BareDecodeBench(benchmark::State& state, const QByteArray& jpeg) {
    std::vector<unsigned char> pixels;
    for (auto _ : state) {
        benchmark::DoNotOptimize(BareDecode(jpeg, pixels));
        benchmark::ClobberMemory();
    }
}

void BM_PhotoBareDecode(benchmark::State& state) {
    BareDecodeBench(state, Samples().photo);
}
void BM_CardBareDecode(benchmark::State& state) {
    BareDecodeBench(state, Samples().card);
}
void BM_LargePhotoBareDecode(benchmark::State& state) {
    BareDecodeBench(state, Samples().largePhoto);
}

void PhotoToSlot(benchmark::State& state, const QByteArray& jpeg) {
    const TJpegDecoder decoder;
    TImageHolder slot;
    for (auto _ : state) {
        slot.ClearMain();
        if (!TLotImageLoader::LoadCarPhoto(slot, decoder.Decode(jpeg, {TImageHolder::MainSize, {}})))
            state.SkipWithError("photo did not decode");
        benchmark::DoNotOptimize(slot.Thumbnail().constBits());
    }
}

// Decode, scale to 430 x 322 and to 160 x 120, into the slot's 24-bit pictures.
void BM_PhotoDecodeScale(benchmark::State& state) {
    PhotoToSlot(state, Samples().photo);
}
void BM_LargePhotoDecodeScale(benchmark::State& state) {
    PhotoToSlot(state, Samples().largePhoto);
}

// Decode the card's top-left 512 x 512 and copy it into the slot.
void BM_CardDecodePlace(benchmark::State& state) {
    const TJpegDecoder decoder;
    TImageHolder slot;
    for (auto _ : state) {
        slot.ClearLarge();
        if (!TLotImageLoader::LoadExhibitCard(slot,
                                              decoder.Decode(Samples().card, {{}, TImageHolder::LargeSize})))
            state.SkipWithError("card did not decode");
        benchmark::DoNotOptimize(slot.Large().constBits());
    }
}

// A lot announced: its detail file, card and photo queued with no start delay, until all three
// are in the cache. Real time over loopback, the web server in the same thread.
void BM_NewLotThreeDownloads(benchmark::State& state) {
    AuctionWebServer server(AuctionWebConfig{});
    QTemporaryDir cache;
    const int site = 123;
    const int lots = 4000;
    for (int exhibit = 1; exhibit <= 64; ++exhibit) {
        server.PhotoJpeg(exhibit); // drawn once, so the server's drawing is not timed
        server.CardJpeg(exhibit);
    }
    int exhibit = 0;
    for (auto _ : state) {
        state.PauseTiming();
        exhibit = exhibit % lots + 1;
        const int drawn = (exhibit - 1) % 64 + 1;
        TFetchDm fetch(cache.path());
        fetch.SetLaneIndex(exhibit); // a fresh cache name for every lot
        int done = 0;
        fetch.OnDetailDone = [&done](TFetchDm*, int, int, int, int, int, const QString&) { ++done; };
        fetch.OnPhotoDone = [&done](TFetchDm*, int, int, int, int, int, const QString&) { ++done; };
        const QUrl detail =
            server.DetailBaseUrl().resolved(QUrl(QString::asprintf("%4.4d/1/%5.5d.html", site, drawn)));
        const QUrl card = server.ImageBaseUrl().resolved(
            QUrl(QString::asprintf("%4.4d/exhibitcard/%4.4d.jpg", site, drawn)));
        const QUrl photo =
            server.ImageBaseUrl().resolved(QUrl(QString::asprintf("%4.4d/carphoto/%4.4d.jpg", site, drawn)));
        state.ResumeTiming();

        fetch.QueueDetail(site, drawn, 0, detail, 0);
        fetch.QueuePhoto(site, drawn, 1, QStringLiteral(".jpg"), card, 0);
        fetch.QueuePhoto(site, drawn, 0, QStringLiteral(".jpg"), photo, 0);
        while (done < 3)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);

        state.PauseTiming();
        QFile::remove(fetch.DetailFileName(site, drawn, 0));
        QFile::remove(fetch.PhotoFileName(site, drawn, QStringLiteral(".jpg"), 0));
        QFile::remove(fetch.PhotoFileName(site, drawn, QStringLiteral(".jpg"), 1));
        state.ResumeTiming();
    }
}

BENCHMARK(BM_PhotoBareDecode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PhotoDecodeScale)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CardBareDecode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CardDecodePlace)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LargePhotoBareDecode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LargePhotoDecodeScale)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NewLotThreeDownloads)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QGuiApplication app(argc, argv); // the web server draws text
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
