#include "core/conversion_job.h"

#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <new>
#include <system_error>

#include "core/xa_adpcm_decoder.h"

namespace reelcast {

int32_t jobFrameRate(int frameRateIndex, int32_t scannedRate)
{
    if (frameRateIndex > 0 && frameRateIndex < 7)
        return kFrameRateChoices[frameRateIndex];
    return scannedRate > 0 ? scannedRate : kFallbackFrameRate;
}

int32_t automaticRateOf(const MovieInfo& info) { return info.discFrameRate > 0 ? info.discFrameRate : info.frameRate; }

ConversionJob::ConversionJob(const std::atomic<int>& speed) : speed_(speed) {}

ConversionJob::~ConversionJob()
{
    stopWorker();
    releaseOutput();
}

void ConversionJob::setCallbacks(Notify repaint, Notify finished, ErrorFn error)
{
    repaint_ = std::move(repaint);
    finished_ = std::move(finished);
    error_ = std::move(error);
}

void ConversionJob::report(const std::string& message) const
{
    if (error_)
        error_(message);
}

bool ConversionJob::createBitmap(uint32_t width, uint32_t height)
{
    bitmap_.reset();
    bitmap_ = createOutputBitmap(width, height);
    return bitmap_ != nullptr;
}

void ConversionJob::releaseBitmap()
{
    std::lock_guard<std::mutex> hold(lock_);
    bitmap_.reset();
}

int ConversionJob::startConversion(MovieReader& reader, const std::string& aviPath, const JobSettings& settings)
{
    return start(reader, &aviPath, settings);
}

int ConversionJob::startPreview(MovieReader& reader, const JobSettings& settings)
{
    return start(reader, nullptr, settings);
}

int ConversionJob::start(MovieReader& reader, const std::string* aviPath, const JobSettings& settings)
{
    if (running_ || worker_.joinable())
        return -1; // one job at a time
    const MovieInfo& info = reader.info();
    if (!bitmap_) {
        report("Out of Memory.");
        return -1;
    }
    if (aviPath && reader.sameFile(*aviPath)) {
        report("The output file is the movie itself.");
        return -1;
    }
    try {
        frames_ = std::make_unique<FrameSource>(reader, decoder_, info.totalFrames);
    } catch (const std::bad_alloc&) {
        report("Buffer can't create.");
        return -1;
    }
    reader_ = &reader;
    method_ = settings.resizeOn ? settings.method : kResizeNone;
    frameRate_ = jobFrameRate(settings.frameRateIndex, automaticRateOf(info));
    frameCount_ = info.totalFrames;
    paced_ = settings.paced;
    decoder_.setGamma(settings.gamma);
    audioChannels_ = 0;
    if (aviPath) {
        const AudioTrackInfo& a = info.audio;
        const int channels = a.firstSector != -1 ? (a.channels == 2 ? 2 : 1) : 0;
        AviVideoFormat video{bitmap_->width(), bitmap_->height(), frameRate_, settings.options};
        avi_ = std::make_unique<AviWriter>();
        if (int st = avi_->open(*aviPath, video, channels)) {
            avi_.reset();
            frames_.reset();
            report(aviStatusMessage(st));
            return -1;
        }
        audioChannels_ = channels;
    }
    stopRequested_ = false;
    done_ = false;
    failed_ = false;
    failure_.clear();
    failureReason_.clear();
    running_ = true;
    framesRead_ = 0;
    damagedFrames_ = 0;
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

bool canLeaveIdlePriority()
{
    static const bool allowed = [] {
        bool back = false;
        try {
            std::thread probe([&back] {
                sched_param param{};
                if (pthread_setschedparam(pthread_self(), SCHED_IDLE, &param) != 0)
                    return;
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
void ConversionJob::applySpeed(int speed)
{
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

void ConversionJob::readDecodeCopy(FrameSource& frames)
{
    frames.next(); // its status does not stop the job: every frame is written
    framesRead_ = reader_->info().framesRead;
    damagedFrames_ = frames.damagedFrames();
    std::lock_guard<std::mutex> hold(lock_);
    if (bitmap_)
        copyPictureToBitmap(frames.picture(), *bitmap_, method_);
}

// Called on the worker: the temporary file goes, the target stays as it was.
void ConversionJob::failOutput(int error)
{
    failureReason_ = std::strerror(error ? error : EIO);
    failure_ = aviStatusMessage(kAviWriteError);
    failed_ = true;
    avi_->discard();
}

bool ConversionJob::writeFrame(XaAudioStream* audio, std::vector<int16_t>& samples, int samplesPerFrame)
{
    if (!avi_->writeVideo(*bitmap_))
        return false;
    if (!audio)
        return true;
    audio->produce(samples.data(), samplesPerFrame);
    return avi_->writeAudio(samples.data(), samplesPerFrame);
}

// The sound track may run on past the last picture (or a chosen frame rate may end the pictures
// early): the rest of it is written, so the AVI always carries the whole track.
void ConversionJob::writeRestOfSound(XaAudioStream& audio, std::vector<int16_t>& samples, int samplesPerFrame)
{
    while (!audio.exhausted() && !stopRequested_) {
        const int n = audio.produce(samples.data(), samplesPerFrame, true);
        if (n > 0 && !avi_->writeAudio(samples.data(), n)) {
            failOutput(avi_->lastError());
            return;
        }
    }
}

void ConversionJob::run(bool converting)
{
    using Clock = std::chrono::steady_clock;
    applySpeed(appliedSpeed_);
    FrameSource& frames = *frames_;
    std::unique_ptr<XaAudioStream> audio;
    std::vector<int16_t> samples;
    int samplesPerFrame = 0;
    if (converting && audioChannels_ > 0) {
        audio = std::make_unique<XaAudioStream>(*reader_, reader_->info().audio);
        samplesPerFrame = XaAudioStream::kOutputRate / frameRate_;
        samples.assign(size_t(samplesPerFrame) * audioChannels_, 0);
    }
    readDecodeCopy(frames);
    const int64_t total = int64_t(frameCount_) + 4;
    const auto start = Clock::now();
    bool stopped = false;
    for (int64_t i = 0;; ++i) {
        const auto frameStart = Clock::now();
        {
            std::lock_guard<std::mutex> hold(lock_);
            if (i >= total || stopRequested_)
                break;
        }
        if (i >= 4)
            readDecodeCopy(frames);
        if (converting && !writeFrame(audio.get(), samples, samplesPerFrame)) {
            failOutput(avi_->lastError());
            break;
        }
        {
            std::lock_guard<std::mutex> hold(lock_);
            const int speed = speed_.load();
            if (speed != appliedSpeed_) {
                appliedSpeed_ = speed;
                applySpeed(speed);
            }
        }
        if (repaint_)
            repaint_();
        // A preview plays at the movie's rate (Fast shows the frames as fast as they come).
        if (!converting && paced_ && appliedSpeed_ != kSpeedFast)
            std::this_thread::sleep_until(start + (i + 1) * std::chrono::microseconds(1000000 / frameRate_));
        // Slow without idle priority: leave the processor to others for as long as the frame took.
        if (pausing_)
            std::this_thread::sleep_for(
                std::min<Clock::duration>(Clock::now() - frameStart, std::chrono::milliseconds(100)));
    }
    if (audio && !failed_)
        writeRestOfSound(*audio, samples, samplesPerFrame);
    {
        std::lock_guard<std::mutex> hold(lock_);
        stopped = stopRequested_;
        if (!stopped && !failed_)
            done_ = true;
        running_ = false;
    }
    if (!stopped && finished_)
        finished_();
}

void ConversionJob::stopWorker()
{
    if (running_)
        stopRequested_ = true;
    if (worker_.joinable()) {
        worker_.join();
        releaseOutput();
    }
    stopRequested_ = false;
}

bool ConversionJob::releaseOutput()
{
    if (worker_.joinable())
        worker_.join();
    bool ok = true;
    if (avi_) {
        if (!avi_->close() && !failed_) {
            failureReason_ = std::strerror(avi_->lastError() ? avi_->lastError() : EIO);
            failure_ = aviStatusMessage(kAviWriteError);
            failed_ = true;
            done_ = false;
        }
        ok = !failed_;
        avi_.reset();
    }
    frames_.reset();
    reader_ = nullptr;
    return ok;
}

} // namespace reelcast

namespace reelcast {

std::string defaultOutputPath(const std::string& moviePath)
{
    const size_t slash = moviePath.find_last_of("/\\");
    const size_t dot = moviePath.find_last_of('.');
    const bool inName = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (inName ? moviePath.substr(0, dot) : moviePath) + ".AVI";
}

} // namespace reelcast
