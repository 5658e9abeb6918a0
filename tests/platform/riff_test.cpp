#include "platform/riff.h"

#include <gtest/gtest.h>

#include <string>

#include "sound/wav_fixture.h"

using namespace wavfix;

namespace {

constexpr uint32_t kWave = plat::fourCC('W', 'A', 'V', 'E');

plat::RiffChunk named(const char* id) {
    plat::RiffChunk c;
    c.id = plat::fourCC(id[0], id[1], id[2], id[3]);
    return c;
}

plat::Result findWave(plat::RiffReader& r, plat::RiffChunk& wave) {
    wave.formType = kWave;
    return r.descend(wave, nullptr, plat::riffFind::Riff);
}

}  // namespace

// A junk chunk of odd size (with its pad byte) sits before "fmt ": finding "fmt " must step over
// the pad, ascending must land after it, and "data" is found after "fmt ".
TEST(Riff, NavigatesChunksAndHonoursPadBytes) {
    const Bytes junk = {1, 2, 3};  // odd: one pad byte follows
    const Bytes fmt = {10, 11, 12, 13, 14};
    const Bytes data = {20, 21, 22, 23};
    const Bytes file = riff(cat({chunk("junk", junk), chunk("fmt ", fmt), chunk("data", data)}));
    plat::RiffReader r;
    ASSERT_EQ(r.open(writeTemp(file, "nav.wav").c_str()), plat::kOk);

    plat::RiffChunk wave;
    ASSERT_EQ(findWave(r, wave), plat::kOk);
    EXPECT_EQ(wave.dataOffset, 8u);
    EXPECT_EQ(wave.size, file.size() - 8);
    EXPECT_EQ(r.position(), 12u);  // after the form type

    plat::RiffChunk f = named("fmt ");
    ASSERT_EQ(r.descend(f, &wave, plat::riffFind::Chunk), plat::kOk);
    EXPECT_EQ(f.size, 5u);
    EXPECT_EQ(f.dataOffset, 12u + 12u + 8u);  // RIFF header+form, junk with pad, fmt header
    uint8_t got[5] = {};
    ASSERT_EQ(r.read(got, 5), 5);
    EXPECT_EQ(Bytes(got, got + 5), fmt);

    ASSERT_EQ(r.ascend(f), plat::kOk);
    EXPECT_EQ(r.position(), f.dataOffset + 6);  // odd size: past the pad byte

    plat::RiffChunk d = named("data");
    ASSERT_EQ(r.descend(d, &wave, plat::riffFind::Chunk), plat::kOk);
    EXPECT_EQ(d.size, 4u);
    uint8_t body[4] = {};
    ASSERT_EQ(r.read(body, 4), 4);
    EXPECT_EQ(Bytes(body, body + 4), data);
    // Reading is not confined to the chunk; at the end of the file it returns what is left.
    EXPECT_EQ(r.read(body, 4), 0);
    EXPECT_EQ(r.read(body, -1), -1);
}

// The sub-chunk search starts at the current position, so a chunk before it is not found.
TEST(Riff, SearchStartsAtTheCurrentPosition) {
    const Bytes file =
        riff(cat({chunk("data", {1, 2}), chunk("fmt ", {3, 4}), chunk("last", {5, 6})}));
    plat::RiffReader r;
    ASSERT_EQ(r.open(writeTemp(file, "order.wav").c_str()), plat::kOk);
    plat::RiffChunk wave;
    ASSERT_EQ(findWave(r, wave), plat::kOk);
    plat::RiffChunk f = named("fmt ");
    ASSERT_EQ(r.descend(f, &wave, plat::riffFind::Chunk), plat::kOk);
    ASSERT_EQ(r.ascend(f), plat::kOk);
    plat::RiffChunk d = named("data");
    EXPECT_EQ(r.descend(d, &wave, plat::riffFind::Chunk), plat::kRiffChunkNotFound);
}

// The first "RIFF" chunk of the wanted form type is used; others are stepped over.
TEST(Riff, FindsTheFirstRiffOfTheFormType) {
    const Bytes file = cat({chunk("JUNK", {9, 9, 9}), riff(chunk("avih", {1}), "AVI "),
                            riff(chunk("one ", {1}), "WAVE"), riff(chunk("two ", {2}), "WAVE")});
    plat::RiffReader r;
    ASSERT_EQ(r.open(writeTemp(file, "forms.wav").c_str()), plat::kOk);
    plat::RiffChunk wave;
    ASSERT_EQ(findWave(r, wave), plat::kOk);
    plat::RiffChunk one = named("one ");
    EXPECT_EQ(r.descend(one, &wave, plat::riffFind::Chunk), plat::kOk);
    plat::RiffChunk two = named("two ");
    EXPECT_NE(r.descend(two, &wave, plat::riffFind::Chunk), plat::kOk);  // not inside this RIFF
}

// Sizes from the file are checked against the parent and the file's end.
TEST(Riff, SizesBeyondParentOrFileAreNotTrusted) {
    struct Case {
        const char* name;
        Bytes file;
        plat::Result riffResult;
        plat::Result dataResult;  // of the search for "data" inside the RIFF chunk
    };
    const Bytes fmt = chunk("fmt ", {1, 2, 3, 4});
    const Bytes data = chunk("data", {5, 6, 7, 8});
    const Case cases[] = {
        {"well formed", riff(cat({fmt, data})), plat::kOk, plat::kOk},
        {"data claims more than the file", riff(cat({fmt, chunk("data", {5, 6, 7, 8}, 5)})),
         plat::kOk, plat::kRiffChunkTruncated},
        {"data claims 4 GiB", riff(cat({fmt, chunk("data", {5, 6}, 0xFFFFFFFFu)})), plat::kOk,
         plat::kRiffChunkTruncated},
        // The RIFF chunk says it ends after "fmt "; "data" lies outside it.
        {"data outside its parent", riff(cat({fmt, data}), "WAVE", 4 + 12), plat::kOk,
         plat::kRiffChunkNotFound},
        // A chunk before "data" claims far more than there is: nothing after it is trusted.
        {"huge chunk on the way", riff(cat({chunk("fmt ", {1, 2}, 0xFFFFFFF0u), data})), plat::kOk,
         plat::kRiffChunkNotFound},
        // A RIFF chunk that claims more than the file is still read up to the file's end.
        {"RIFF claims more than the file", riff(cat({fmt, data}), "WAVE", 1000), plat::kOk,
         plat::kOk},
        {"RIFF too small for a form type", chunk("RIFF", {'W', 'A'}), plat::kRiffChunkNotFound,
         plat::kRiffChunkNotFound},
        {"shorter than a header", Bytes{'R', 'I', 'F', 'F', 4}, plat::kRiffChunkNotFound,
         plat::kRiffChunkNotFound},
        {"empty file", Bytes{}, plat::kRiffChunkNotFound, plat::kRiffChunkNotFound},
        {"header cut after data's id", cat({riff(fmt), Bytes{'d', 'a', 't', 'a', 4, 0}}), plat::kOk,
         plat::kRiffChunkNotFound},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        plat::RiffReader r;
        ASSERT_EQ(r.open(writeTemp(c.file, "sizes" + std::to_string(n++)).c_str()), plat::kOk);
        plat::RiffChunk wave;
        ASSERT_EQ(findWave(r, wave), c.riffResult);
        if (c.riffResult != plat::kOk) continue;
        EXPECT_LE(wave.limit, r.fileSize());
        plat::RiffChunk d = named("data");
        EXPECT_EQ(r.descend(d, &wave, plat::riffFind::Chunk), c.dataResult);
        if (c.dataResult == plat::kOk) {
            EXPECT_LE(d.dataOffset + d.size, r.fileSize());
        }
    }
}

// Ascending needs the chunk inside the file; only a missing final pad byte is forgiven.
TEST(Riff, AscendPastTheEnd) {
    const Bytes file = riff(chunk("odd ", {1, 2, 3}, {}, /*pad=*/false));
    plat::RiffReader r;
    ASSERT_EQ(r.open(writeTemp(file, "ascend.wav").c_str()), plat::kOk);
    plat::RiffChunk wave;
    ASSERT_EQ(findWave(r, wave), plat::kOk);
    plat::RiffChunk odd = named("odd ");
    ASSERT_EQ(r.descend(odd, &wave, plat::riffFind::Chunk), plat::kOk);
    ASSERT_EQ(r.ascend(odd), plat::kOk);
    EXPECT_EQ(r.position(), r.fileSize());

    plat::RiffChunk beyond = odd;
    beyond.size = 100;
    EXPECT_EQ(r.ascend(beyond), plat::kRiffChunkTruncated);
}

TEST(Riff, OpenRefusesMissingFilesAndFolders) {
    plat::RiffReader r;
    EXPECT_NE(r.open("no/such/file.wav"), plat::kOk);
    EXPECT_NE(r.open(testing::TempDir().c_str()), plat::kOk);
    EXPECT_NE(r.open(nullptr), plat::kOk);
    EXPECT_FALSE(r.isOpen());
    plat::RiffChunk c;
    EXPECT_EQ(r.descend(c, nullptr, plat::riffFind::Riff), plat::kRiffNotOpen);
    uint8_t b[4];
    EXPECT_EQ(r.read(b, 4), -1);
}
