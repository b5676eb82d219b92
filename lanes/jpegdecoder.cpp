#include "lanes/jpegdecoder.h"

#include <QFile>
#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>
// jerror.h needs jpeglib.h first.
#include <jerror.h>

namespace qev {

namespace {

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

struct ProgressMonitor {
    jpeg_progress_mgr pub;
    ErrorManager* errors;
};

[[noreturn]] void OnError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

void OnMessage(j_common_ptr info, int level) {
    // A picture cut short is an error to us: libjpeg would pad it with grey.
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF)
        OnError(info);
}

void OnProgress(j_common_ptr info) {
    auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    if (decompress->input_scan_number > TJpegDecoder::MaxScans)
        OnError(info);
}

// No C++ object with a destructor lives across setjmp in this function; *out is owned by the
// caller and dropped there on failure.
bool DecodeInto(jpeg_decompress_struct* cinfo, ErrorManager* errors, QByteArrayView jpeg,
                const TJpegDecoder::Request& request, QImage* out) {
    if (setjmp(errors->jump))
        return false;

    jpeg_mem_src(cinfo, reinterpret_cast<const unsigned char*>(jpeg.data()),
                 static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(cinfo, TRUE);
    if (qint64(cinfo->image_width) * qint64(cinfo->image_height) > TJpegDecoder::MaxPixels)
        return false;

    cinfo->out_color_space = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRA : JCS_EXT_ARGB;
    cinfo->scale_num = 1;
    cinfo->scale_denom = 1;
    if (request.atLeast.width() > 0 && request.atLeast.height() > 0) {
        for (unsigned denom : {8u, 4u, 2u}) {
            const unsigned w = (cinfo->image_width + denom - 1) / denom;
            const unsigned h = (cinfo->image_height + denom - 1) / denom;
            if (w >= unsigned(request.atLeast.width()) && h >= unsigned(request.atLeast.height())) {
                cinfo->scale_denom = denom;
                break;
            }
        }
    }
    jpeg_start_decompress(cinfo);

    JDIMENSION rows = cinfo->output_height;
    if (request.topLeft.width() > 0 && request.topLeft.height() > 0) {
        if (cinfo->output_width > JDIMENSION(request.topLeft.width())) {
            JDIMENSION x = 0;
            JDIMENSION width = JDIMENSION(request.topLeft.width());
            jpeg_crop_scanline(cinfo, &x, &width);
        }
        rows = qMin(rows, JDIMENSION(request.topLeft.height()));
    }

    *out = QImage(int(cinfo->output_width), int(rows), QImage::Format_RGB32);
    if (out->isNull())
        return false;
    while (cinfo->output_scanline < rows) {
        JSAMPROW row = out->scanLine(int(cinfo->output_scanline));
        if (jpeg_read_scanlines(cinfo, &row, 1) != 1)
            return false;
    }
    if (rows == cinfo->output_height)
        jpeg_finish_decompress(cinfo);
    else
        jpeg_abort_decompress(cinfo);
    return true;
}

} // namespace

QImage TJpegDecoder::Decode(QByteArrayView jpeg, const Request& request) const {
    if (jpeg.isEmpty() || jpeg.size() > MaxFileBytes)
        return {};
    jpeg_decompress_struct cinfo{};
    ErrorManager errors{};
    cinfo.err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = OnError;
    errors.pub.emit_message = OnMessage;
    errors.pub.output_message = [](j_common_ptr) {};
    ProgressMonitor progress{};
    progress.pub.progress_monitor = OnProgress;
    progress.errors = &errors;

    QImage image;
    bool ok = false;
    if (!setjmp(errors.jump)) {
        jpeg_create_decompress(&cinfo);
        cinfo.progress = &progress.pub;
        ok = DecodeInto(&cinfo, &errors, jpeg, request, &image);
    }
    jpeg_destroy_decompress(&cinfo);
    if (!ok)
        return {};
    return image;
}

QImage TJpegDecoder::DecodeFile(const QString& path, const Request& request) const {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxFileBytes)
        return {};
    const QByteArray bytes = file.read(MaxFileBytes + 1);
    return Decode(bytes, request);
}

} // namespace qev
