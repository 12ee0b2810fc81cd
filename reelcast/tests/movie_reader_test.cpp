#include "core/movie_reader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "support/movie_builder.h"

namespace reelcast {
namespace {

using test::MovieBuilder;
using test::patternPayload;
using test::TempDir;

struct OpenCase {
    const char* name;
    std::function<std::vector<uint8_t>()> bytes;
    int status;
};

std::vector<uint8_t> truncated(size_t n)
{
    auto b = MovieBuilder().video(1, 0, 1).bytes();
    b.resize(n);
    return b;
}

class OpenStatus : public testing::TestWithParam<OpenCase> {};

TEST_P(OpenStatus, GivesStatusAndClosesOnFailure)
{
    TempDir dir;
    const std::string path = dir.file("movie.str");
    test::writeFile(path, GetParam().bytes());
    MovieReader reader;
    EXPECT_EQ(reader.open(path), GetParam().status);
    EXPECT_EQ(reader.isOpen(), GetParam().status == kMovieOk);
}

INSTANTIATE_TEST_SUITE_P(
    Files, OpenStatus,
    testing::Values(OpenCase{"ShorterThanHeader", [] { return truncated(20); }, kMovieReadError},
                    OpenCase{"HeaderOnly", [] { return truncated(44); }, kMovieReadError},
                    OpenCase{"FirstSectorShort", [] { return truncated(44 + 40); }, kMovieReadError},
                    OpenCase{"NotRiff",
                             [] {
                                 auto b = MovieBuilder().video(1, 0, 1).bytes();
                                 b[0] = 'X';
                                 return b;
                             },
                             kMovieFormatError},
                    OpenCase{"RiffButNotCdxa",
                             [] {
                                 auto b = MovieBuilder().video(1, 0, 1).bytes();
                                 std::memcpy(&b[8], "WAVE", 4);
                                 return b;
                             },
                             kMovieFormatError},
                    OpenCase{"NoVideoSectorAtAll", [] { return MovieBuilder().audio().other().audio().bytes(); },
                             kMovieFormatError},
                    OpenCase{"VideoMagicWrongWord",
                             [] {
                                 auto b = MovieBuilder().video(1, 0, 1).bytes();
                                 b[44 + 26] = 0x02;
                                 return b;
                             },
                             kMovieFormatError},
                    OpenCase{"AudioBeforeFirstVideo",
                             [] { return MovieBuilder().audio().other().video(1, 0, 1).bytes(); }, kMovieOk},
                    OpenCase{"PlainMovie", [] { return MovieBuilder().video(1, 0, 1).audio().bytes(); }, kMovieOk}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MovieReader, MissingFileIsAnOpenError)
{
    MovieReader reader;
    EXPECT_EQ(reader.open("/nonexistent/reelcast/movie.str"), kMovieOpenError);
    EXPECT_STREQ(movieStatusMessage(kMovieOpenError), "File open ERROR.");
    EXPECT_STREQ(movieStatusMessage(kMovieFormatError), "This file isn't PSX movie file format.");
}

TEST(MovieReader, SizeComesFromFirstVideoSectorAfterLeadingAudio)
{
    TempDir dir;
    MovieBuilder b;
    b.audio().audio().frame(1, patternPayload(2), 256, 224).frame(2, patternPayload(1), 256, 224);
    MovieReader reader;
    ASSERT_EQ(reader.open(b.write(dir, "m.str")), kMovieOk);
    EXPECT_EQ(reader.info().width, 256u);
    EXPECT_EQ(reader.info().height, 224u);
    EXPECT_EQ(reader.info().sectorCount, 5);
    EXPECT_EQ(reader.info().sectorsLeft, 5);
    ASSERT_EQ(reader.scanFrames(), kMovieOk); // the scan rewinds to the file's first sector
    ASSERT_EQ(reader.readNextFrame(), kMovieOk);
    ASSERT_EQ(reader.frameSize(), 2 * MovieBuilder::kPayload);
    EXPECT_EQ(std::memcmp(reader.frameData(), patternPayload(2).data(), reader.frameSize()), 0);
    ASSERT_EQ(reader.readNextFrame(), kMovieOk); // the leading audio sectors are not in the chunk budget
    EXPECT_EQ(reader.info().framesRead, 2);
    EXPECT_EQ(reader.info().sectorsLeft, 2);
}

struct AudioCase {
    const char* name;
    std::function<void(MovieBuilder&)> build;
    AudioTrackInfo expected;
};

class AudioTrack : public testing::TestWithParam<AudioCase> {};

TEST_P(AudioTrack, IsFound)
{
    TempDir dir;
    MovieBuilder b;
    b.video(1, 0, 1);
    GetParam().build(b);
    MovieReader reader;
    ASSERT_EQ(reader.open(b.write(dir, "m.str")), kMovieOk);
    ASSERT_EQ(reader.findAudioTrack(), kMovieOk);
    const AudioTrackInfo& a = reader.info().audio;
    const AudioTrackInfo& e = GetParam().expected;
    EXPECT_EQ(a.firstSector, e.firstSector);
    EXPECT_EQ(a.stride, e.stride);
    EXPECT_EQ(a.sampleRate, e.sampleRate);
    EXPECT_EQ(a.channels, e.channels);
    EXPECT_EQ(a.fileNumber, e.fileNumber);
    EXPECT_EQ(a.channelNumber, e.channelNumber);
}

INSTANTIATE_TEST_SUITE_P(
    Files, AudioTrack,
    testing::Values(
        AudioCase{"None", [](MovieBuilder& b) { b.video(1, 0, 1).other(); }, {-1, 0, 0, 0, 0, 0}},
        AudioCase{"SingleSectorHasNoStride", [](MovieBuilder& b) { b.other().audio(1, 0, 0); }, {2, 0, 37800, 1, 1, 0}},
        AudioCase{"StrideToSecondSector",
                  [](MovieBuilder& b) { b.audio(3, 5, 0x01).video(1, 0, 1).other().audio(3, 5, 0x01); },
                  {1, 3, 37800, 2, 3, 5}},
        AudioCase{
            "MarkedOnlyInCopy18900Mono", [](MovieBuilder& b) { b.audio(1, 2, 0x04, true); }, {1, 0, 18900, 1, 1, 2}},
        AudioCase{
            "Stereo18900", [](MovieBuilder& b) { b.audio(1, 0, 0x05).audio(1, 0, 0x05); }, {1, 1, 18900, 2, 1, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

struct RateCase {
    int chunks;
    int rate;
};

class FrameRate : public testing::TestWithParam<RateCase> {};

TEST_P(FrameRate, FollowsLargestFrame)
{
    TempDir dir;
    MovieBuilder b;
    b.frame(1, patternPayload(1)).frame(2, patternPayload(GetParam().chunks)).audio();
    MovieReader reader;
    ASSERT_EQ(reader.open(b.write(dir, "m.str")), kMovieOk);
    ASSERT_EQ(reader.scanFrames(), kMovieOk);
    EXPECT_EQ(reader.info().maxChunks, GetParam().chunks);
    EXPECT_EQ(reader.info().frameRate, GetParam().rate);
    EXPECT_EQ(reader.info().totalFrames, 2);
}

INSTANTIATE_TEST_SUITE_P(Chunks, FrameRate,
                         testing::Values(RateCase{1, 30}, RateCase{5, 30}, RateCase{6, 20}, RateCase{7, 20},
                                         RateCase{8, 15}, RateCase{10, 15}, RateCase{11, 10}, RateCase{15, 10},
                                         RateCase{16, 0}, RateCase{40, 0}),
                         [](const auto& info) { return std::to_string(info.param.chunks) + "Sectors"; });

TEST(MovieReader, ScanMeetingImpossibleFrameNumberIsReadError)
{
    TempDir dir;
    MovieBuilder b;
    b.video(1, 0, 1);
    for (int i = 1; i < 399; ++i)
        b.other();
    b.video(500, 0, 1);
    ASSERT_EQ(b.sectorCount(), 400u);
    MovieReader reader;
    reader.setStrict(true);
    ASSERT_EQ(reader.open(b.write(dir, "m.str")), kMovieOk);
    EXPECT_EQ(reader.scanFrames(), kMovieReadError);
    // Otherwise the header is counted as damaged and left out.
    reader.setStrict(false);
    ASSERT_EQ(reader.open(b.write(dir, "m.str")), kMovieOk);
    EXPECT_EQ(reader.scanFrames(), kMovieOk);
    EXPECT_EQ(reader.info().totalFrames, 1);
    EXPECT_EQ(reader.info().damagedHeaders, 1);

    b.bytes()[b.bytes().size() - 2352 + 24 + 8] = 144; // frame number 400 = sector count is fine
    b.bytes()[b.bytes().size() - 2352 + 24 + 9] = 1;
    ASSERT_EQ(reader.open(b.write(dir, "m2.str")), kMovieOk);
    EXPECT_EQ(reader.scanFrames(), kMovieOk);
    EXPECT_EQ(reader.info().totalFrames, 400);
}

TEST(MovieReader, ScanReportsEachPercentOnceAndHonoursCancel)
{
    TempDir dir;
    MovieBuilder b;
    for (int i = 0; i < 250; ++i)
        b.video(i + 1, 0, 1);
    const std::string path = b.write(dir, "m.str");
    MovieReader reader;
    ASSERT_EQ(reader.open(path), kMovieOk);
    std::vector<int> reported;
    ASSERT_EQ(reader.scanFrames([&](int p) { reported.push_back(p); }), kMovieOk);
    ASSERT_EQ(reported.size(), 100u);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(reported[i], i);

    std::atomic<bool> cancel{false};
    reader.close();
    ASSERT_EQ(reader.open(path), kMovieOk);
    EXPECT_EQ(reader.scanFrames(
                  [&](int p) {
                      if (p == 10)
                          cancel = true;
                  },
                  &cancel),
              kMovieScanCancelled);
    EXPECT_EQ(reader.info().totalFrames, 0);
}

TEST(MovieReader, AudioSectorBetweenChunksIsSteppedOver)
{
    TempDir dir;
    const auto payload = patternPayload(3);
    auto chunk = [&](int c) {
        return std::vector<uint8_t>(payload.begin() + c * 2016, payload.begin() + (c + 1) * 2016);
    };
    MovieBuilder b;
    b.video(1, 0, 3, chunk(0)).audio().video(1, 1, 3, chunk(1)).video(1, 2, 3, chunk(2));
    b.audio().frame(2, patternPayload(1)); // a non-video sector between two frames too
    b.frame(3, patternPayload(1));
    MovieReader reader;
    ASSERT_EQ(reader.open(b.write(dir, "m.str")), kMovieOk);
    ASSERT_EQ(reader.readNextFrame(), kMovieOk);
    ASSERT_EQ(reader.frameSize(), payload.size());
    EXPECT_EQ(std::memcmp(reader.frameData(), payload.data(), payload.size()), 0);
    ASSERT_EQ(reader.readNextFrame(), kMovieOk);
    EXPECT_EQ(reader.frameSize(), 2016u);
    EXPECT_EQ(reader.info().framesRead, 2);
    EXPECT_EQ(reader.info().sectorsLeft, 7 - 4);
    ASSERT_EQ(reader.readNextFrame(), kMovieOk);
    EXPECT_EQ(reader.readNextFrame(), kMovieReadError); // past the last sector
}

TEST(MovieReader, SecondNonVideoSectorBeforeFrameIsFormatErrorWhenStrict)
{
    TempDir dir;
    MovieBuilder b;
    b.frame(1, patternPayload(1)).audio().other().frame(2, patternPayload(1));
    MovieReader reader;
    reader.setStrict(true);
    ASSERT_EQ(reader.open(b.write(dir, "m.str")), kMovieOk);
    ASSERT_EQ(reader.readNextFrame(), kMovieOk);
    EXPECT_EQ(reader.readNextFrame(), kMovieFormatError);
    // Otherwise the reader looks on for the frame's first chunk; the frame is whole.
    reader.setStrict(false);
    ASSERT_EQ(reader.open(b.write(dir, "m.str")), kMovieOk);
    ASSERT_EQ(reader.readNextFrame(), kMovieOk);
    EXPECT_EQ(reader.readNextFrame(), kMovieOk); // 2 of the 4 sectors counted
    EXPECT_FALSE(reader.frameDamaged());
    EXPECT_EQ(std::memcmp(reader.frameData(), patternPayload(1).data(), MovieBuilder::kPayload), 0);
}

TEST(MovieReader, OversizedFrameKeepsFirst256ChunksAndNextFrameStartsInPlace)
{
    TempDir dir;
    const auto big = patternPayload(258);
    MovieBuilder b;
    b.frame(1, big).frame(2, patternPayload(2));
    MovieReader reader;
    ASSERT_EQ(reader.open(b.write(dir, "m.str")), kMovieOk);
    ASSERT_EQ(reader.readNextFrame(), kMovieOk);
    ASSERT_EQ(reader.frameSize(), MovieReader::kFrameBufferSize);
    EXPECT_EQ(std::memcmp(reader.frameData(), big.data(), MovieReader::kFrameBufferSize), 0);
    EXPECT_EQ(reader.readNextFrame(), kMovieEnd);
    ASSERT_EQ(reader.frameSize(), 2u * 2016);
    EXPECT_EQ(std::memcmp(reader.frameData(), patternPayload(2).data(), 2 * 2016), 0);
    EXPECT_EQ(reader.info().framesRead, 2);
}

TEST(MovieReader, EndOfMovieWhenChunksUseUpTheSectors)
{
    TempDir dir;
    MovieBuilder b;
    b.frame(1, patternPayload(2)).frame(2, patternPayload(3));
    MovieReader reader;
    ASSERT_EQ(reader.open(b.write(dir, "m.str")), kMovieOk);
    EXPECT_EQ(reader.readNextFrame(), kMovieOk);
    EXPECT_EQ(reader.readNextFrame(), kMovieEnd);
    EXPECT_EQ(reader.info().sectorsLeft, 0);
}

TEST(MovieReader, AudioSectorAccessKeepsFramePosition)
{
    TempDir dir;
    MovieBuilder b;
    b.frame(1, patternPayload(1)).audio(4, 0, 0).frame(2, patternPayload(2));
    const std::vector<uint8_t> audioSector(b.bytes().begin() + 44 + 2352, b.bytes().begin() + 44 + 2 * 2352);
    MovieReader reader;
    ASSERT_EQ(reader.open(b.write(dir, "m.str")), kMovieOk);
    ASSERT_EQ(reader.readNextFrame(), kMovieOk);
    ASSERT_EQ(reader.readAudioSector(1), kMovieOk);
    EXPECT_EQ(std::memcmp(reader.audioSector(), audioSector.data(), 2352), 0);
    EXPECT_EQ(reader.readAudioSector(9), kMovieReadError); // past the end; position restored anyway
    EXPECT_EQ(reader.readAudioSector(-1), kMovieSeekError);
    ASSERT_EQ(reader.readNextFrame(), kMovieOk);
    EXPECT_EQ(std::memcmp(reader.frameData(), patternPayload(2).data(), 2 * 2016), 0);
}

TEST(MovieReader, OperationsOnClosedReaderFailCleanly)
{
    MovieReader reader;
    reader.close();
    EXPECT_EQ(reader.readNextFrame(), kMovieReadError);
    EXPECT_EQ(reader.readAudioSector(0), kMovieReadError);
    EXPECT_EQ(reader.rewind(), kMovieSeekError);
}

} // namespace
} // namespace reelcast
