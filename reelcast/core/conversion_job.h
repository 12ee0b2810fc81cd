#pragma once
// One conversion or preview of the open movie on a worker thread: frames are read, decoded, copied
// into the output bitmap (resized if asked) and, for a conversion, written with the sound into an
// AVI file. The window thread starts and stops jobs; the worker tells it about repaints and its end
// through callbacks that must not block (a GUI posts them to its own thread).

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/avi_writer.h"
#include "core/compression_options.h"
#include "core/frame_decoder.h"
#include "core/frame_source.h"
#include "core/gamma_table.h"
#include "core/movie_reader.h"
#include "core/output_bitmap.h"

namespace reelcast {

class XaAudioStream;

// "FrameRate" index 0..6: Auto, 30, 24, 20, 15, 12, 10 frames per second.
inline constexpr int kFrameRateChoices[7] = {0, 30, 24, 20, 15, 12, 10};
// Frames per second used when Auto meets a scan that found no usable rate.
inline constexpr int kFallbackFrameRate = 15;
// The rate a job runs at for a setting index and the scan's automatic rate.
int32_t jobFrameRate(int frameRateIndex, int32_t scannedRate);
// The automatic rate of a scanned movie: the disc timing's where the sound track gives it, else the
// rate chosen from the largest frame (0 when neither).
int32_t automaticRateOf(const MovieInfo& info);

// "ConvSpeed": 0 fast (highest priority), 1 normal, 2 slow (idle).
enum ConvSpeed : int { kSpeedFast = 0, kSpeedNormal = 1, kSpeedSlow = 2 };

// Whether a thread of this process that goes to idle priority may come back to normal. An ordinary
// user usually may not (the system asks for the permission to lower a nice value); found out on a
// short-lived thread of its own, so no thread that matters is left idle.
bool canLeaveIdlePriority();

struct JobSettings {
    int frameRateIndex = 0;
    bool resizeOn = false;
    ResizeMethod method = kResizeNearest;
    CompressionOptions options;
    GammaTable gamma;
    bool paced = true; // a preview shows its frames at the movie's rate (unless the speed is Fast)
};

class ConversionJob {
public:
    using Notify = std::function<void()>;
    using ErrorFn = std::function<void(const std::string& message)>;

    // The shared speed setting; the worker applies a change once per frame.
    explicit ConversionJob(const std::atomic<int>& speed);
    ~ConversionJob(); // stops a running worker
    ConversionJob(const ConversionJob&) = delete;
    ConversionJob& operator=(const ConversionJob&) = delete;

    // Called from the worker: ask for a repaint; the job ended without being stopped.
    void setCallbacks(Notify repaint, Notify finished, ErrorFn error);
    // The test of whether idle priority can be left again (canLeaveIdlePriority unless replaced).
    void setIdleProbe(std::function<bool()> probe) { idleProbe_ = std::move(probe); }

    // The bitmap the next job fills (the previous one is released); false when memory is short.
    bool createBitmap(uint32_t width, uint32_t height);
    void releaseBitmap();

    // Set-up and thread start; 0 when the worker runs, -1 after an error (reported through error).
    // The reader must stay open until the job has been released.
    int startConversion(MovieReader& reader, const std::string& aviPath, const JobSettings& settings);
    int startPreview(MovieReader& reader, const JobSettings& settings);
    // Stops and waits for the worker (when it still runs), then releases the output; the file is
    // complete afterwards.
    void stopWorker();
    // Closes the AVI file (finalising it), releases the picture; waits for a finished worker.
    // False when the file could not be completed (see failure()).
    bool releaseOutput();

    // The job's output failed (a write, or completing the file): the message the user sees and
    // the system's reason. The file is left as it was before the job.
    bool failed() const { return failed_.load(); }
    const std::string& failure() const { return failure_; }
    const std::string& failureReason() const { return failureReason_; }
    // Frames skipped as damaged (the previous picture stood in for them).
    int32_t damagedFrames() const { return damagedFrames_.load(); }

    bool running() const { return running_.load(); }
    bool done() const { return done_.load(); }
    int32_t framesRead() const { return framesRead_.load(); }
    int32_t frameRate() const { return frameRate_; }
    int32_t frameCount() const { return frameCount_; }
    // Slow is done by pausing after each frame, as idle priority could not be left again.
    bool pausing() const { return pausing_.load(); }
    // The bitmap and the lock the worker holds while it writes into it.
    const OutputBitmap* bitmap() const { return bitmap_.get(); }
    std::mutex& lock() { return lock_; }

private:
    int start(MovieReader& reader, const std::string* aviPath, const JobSettings& settings);
    void run(bool converting);
    void readDecodeCopy(FrameSource& frames);
    bool writeFrame(XaAudioStream* audio, std::vector<int16_t>& samples, int samplesPerFrame);
    void writeRestOfSound(XaAudioStream& audio, std::vector<int16_t>& samples, int samplesPerFrame);
    void failOutput(int error);
    void applySpeed(int speed);
    void report(const std::string& message) const;

    const std::atomic<int>& speed_;
    Notify repaint_, finished_;
    ErrorFn error_;
    std::function<bool()> idleProbe_ = canLeaveIdlePriority;
    std::atomic<bool> pausing_{false};

    std::unique_ptr<OutputBitmap> bitmap_;
    std::mutex lock_;
    std::thread worker_;
    std::atomic<bool> running_{false}, done_{false}, stopRequested_{false};
    std::atomic<int32_t> framesRead_{0}, damagedFrames_{0};
    std::atomic<bool> failed_{false};
    std::string failure_, failureReason_;

    MovieReader* reader_ = nullptr;
    FrameDecoder decoder_;
    std::unique_ptr<FrameSource> frames_; // the decoder's pictures
    ResizeMethod method_ = kResizeNone;
    int32_t frameRate_ = 0, frameCount_ = 0;
    bool paced_ = true;
    int appliedSpeed_ = kSpeedNormal;
    std::unique_ptr<AviWriter> avi_;
    int audioChannels_ = 0;
};

} // namespace reelcast

namespace reelcast {

// The conversion's default output name: the movie path without its extension, followed by ".AVI".
// Only a dot in the file's own name starts an extension (a dot in a folder name does not).
std::string defaultOutputPath(const std::string& moviePath);

} // namespace reelcast
