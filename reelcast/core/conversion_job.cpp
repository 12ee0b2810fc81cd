#include "core/conversion_job.h"

#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <new>
#include <system_error>

#include "core/xa_adpcm_decoder.h"

namespace reelcast {

int32_t jobFrameRate(int frameRateIndex, int32_t scannedRate) {
    if (frameRateIndex > 0 && frameRateIndex < 7) return kFrameRateChoices[frameRateIndex];
    return scannedRate > 0 ? scannedRate : kFallbackFrameRate;
}

ConversionJob::ConversionJob(const std::atomic<int>& speed) : speed_(speed) {}

ConversionJob::~ConversionJob() {
    stopWorker();
    releaseOutput();
}

void ConversionJob::setCallbacks(Notify repaint, Notify finished, ErrorFn error) {
    repaint_ = std::move(repaint);
    finished_ = std::move(finished);
    error_ = std::move(error);
}

void ConversionJob::report(const std::string& message) const {
    if (error_) error_(message);
}

bool ConversionJob::createBitmap(uint32_t width, uint32_t height) {
    bitmap_.reset();
    bitmap_ = createOutputBitmap(width, height);
    return bitmap_ != nullptr;
}

void ConversionJob::releaseBitmap() {
    std::lock_guard<std::mutex> hold(lock_);
    bitmap_.reset();
}

int ConversionJob::startConversion(MovieReader& reader, const std::string& aviPath, const JobSettings& settings) {
    return start(reader, &aviPath, settings);
}

int ConversionJob::startPreview(MovieReader& reader, const JobSettings& settings) {
    return start(reader, nullptr, settings);
}

int ConversionJob::start(MovieReader& reader, const std::string* aviPath, const JobSettings& settings) {
    if (running_ || worker_.joinable()) return -1;  // one job at a time
    const MovieInfo& info = reader.info();
    if (!bitmap_) {
        report("Out of Memory.");
        return -1;
    }
    try {
        picture_.assign(size_t(info.width) * info.height, 0);
    } catch (const std::bad_alloc&) {
        report("Buffer can't create.");
        return -1;
    }
    reader_ = &reader;
    method_ = settings.resizeOn ? settings.method : kResizeNone;
    frameRate_ = jobFrameRate(settings.frameRateIndex, info.frameRate);
    frameCount_ = info.totalFrames;
    decoder_.setGamma(settings.gamma);
    audioChannels_ = 0;
    if (aviPath) {
        const AudioTrackInfo& a = info.audio;
        const int channels = a.firstSector != -1 ? (a.channels == 2 ? 2 : 1) : 0;
        AviVideoFormat video{bitmap_->width(), bitmap_->height(), frameRate_, settings.options};
        avi_ = std::make_unique<AviWriter>();
        if (int st = avi_->open(*aviPath, video, channels)) {
            avi_.reset();
            picture_ = {};
            report(aviStatusMessage(st));
            return -1;
        }
        audioChannels_ = channels;
    }
    stopRequested_ = false;
    done_ = false;
    running_ = true;
    framesRead_ = 0;
    appliedSpeed_ = speed_.load();
    try {
        worker_ = std::thread([this, converting = aviPath != nullptr] { run(converting); });
    } catch (const std::system_error&) {
        running_ = false;
        releaseOutput();
        report("Can't CreateThread.");
        return -1;
    }
    return 0;
}

bool canLeaveIdlePriority() {
    static const bool allowed = [] {
        bool back = false;
        try {
            std::thread probe([&back] {
                sched_param param{};
                if (pthread_setschedparam(pthread_self(), SCHED_IDLE, &param) != 0) return;
                back = pthread_setschedparam(pthread_self(), SCHED_OTHER, &param) == 0;
            });
            probe.join();
        } catch (const std::system_error&) {
        }
        return back;
    }();
    return allowed;
}

// Linux has no per-thread priority classes as such: nice values stand for them, and idle is
// SCHED_IDLE. Raising the priority needs a privilege a user may not have; it is then left as is.
// Idle is only entered when the thread may leave it again: otherwise a later Normal would be
// refused and the worker would stay idle, so Slow pauses after every frame instead.
void ConversionJob::applySpeed(int speed) {
    sched_param param{};
    const pid_t tid = pid_t(syscall(SYS_gettid));
    const bool idle = speed == kSpeedSlow && idleProbe_ && idleProbe_();
    pausing_ = speed == kSpeedSlow && !idle;
    if (idle) {
        pthread_setschedparam(pthread_self(), SCHED_IDLE, &param);
        return;
    }
    pthread_setschedparam(pthread_self(), SCHED_OTHER, &param);
    setpriority(PRIO_PROCESS, id_t(tid), speed == kSpeedFast ? -5 : 0);
}

void ConversionJob::readDecodeCopy() {
    reader_->readNextFrame();  // its status does not stop the job: every frame is written
    framesRead_ = reader_->info().framesRead;
    // Past the movie's end nothing was read: the last picture stays as it was rather than being
    // decoded from an empty buffer.
    if (reader_->frameSize() > 0)
        decoder_.decodeFrame(reader_->frameData(), reader_->frameSize(),
                             PictureView{picture_.data(), reader_->info().width, reader_->info().height});
    std::lock_guard<std::mutex> hold(lock_);
    if (bitmap_)
        copyPictureToBitmap(PictureView{picture_.data(), reader_->info().width, reader_->info().height}, *bitmap_,
                            method_);
}

void ConversionJob::run(bool converting) {
    applySpeed(appliedSpeed_);
    std::unique_ptr<XaAudioStream> audio;
    std::vector<int16_t> samples;
    int samplesPerFrame = 0;
    if (converting && audioChannels_ > 0) {
        audio = std::make_unique<XaAudioStream>(*reader_, reader_->info().audio);
        samplesPerFrame = XaAudioStream::kOutputRate / frameRate_;
        samples.assign(size_t(samplesPerFrame) * audioChannels_, 0);
    }
    readDecodeCopy();
    const int64_t total = int64_t(frameCount_) + 4;
    for (int64_t i = 0;; ++i) {
        const auto frameStart = std::chrono::steady_clock::now();
        {
            std::lock_guard<std::mutex> hold(lock_);
            if (i >= total || stopRequested_) break;
        }
        if (i >= 4) readDecodeCopy();
        if (converting) {
            avi_->writeVideo(*bitmap_);
            if (audio) {
                audio->produce(samples.data(), samplesPerFrame);
                avi_->writeAudio(samples.data(), samplesPerFrame);
            }
        }
        {
            std::lock_guard<std::mutex> hold(lock_);
            const int speed = speed_.load();
            if (speed != appliedSpeed_) {
                appliedSpeed_ = speed;
                applySpeed(speed);
            }
        }
        if (repaint_) repaint_();
        // Slow without idle priority: leave the processor to others for as long as the frame took.
        if (pausing_)
            std::this_thread::sleep_for(
                std::min<std::chrono::steady_clock::duration>(std::chrono::steady_clock::now() - frameStart,
                                                              std::chrono::milliseconds(100)));
    }
    bool stopped;
    {
        std::lock_guard<std::mutex> hold(lock_);
        stopped = stopRequested_;
        if (!stopped) done_ = true;
        running_ = false;
    }
    if (!stopped && finished_) finished_();
}

void ConversionJob::stopWorker() {
    if (running_) stopRequested_ = true;
    if (worker_.joinable()) {
        worker_.join();
        releaseOutput();
    }
    stopRequested_ = false;
}

void ConversionJob::releaseOutput() {
    if (worker_.joinable()) worker_.join();
    if (avi_) {
        avi_->close();
        avi_.reset();
    }
    picture_ = {};
    picture_.shrink_to_fit();
    reader_ = nullptr;
}

}  // namespace reelcast

namespace reelcast {

std::string defaultOutputPath(const std::string& moviePath) {
    const size_t slash = moviePath.find_last_of("/\\");
    const size_t dot = moviePath.find_last_of('.');
    const bool inName = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (inName ? moviePath.substr(0, dot) : moviePath) + ".AVI";
}

}  // namespace reelcast
