// The sprite sheet's contract with the game: where the game cuts its pictures, that there is
// something to see there, and that filtering at the edges of a picture only ever reads black.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "asset_files.h"

namespace asset_test {
namespace {

struct Rect {
    int left, top, width, height;
    bool contains(int x, int y) const {
        return x >= left && y >= top && x < left + width && y < top + height;
    }
};

struct Named {
    std::string name;
    Rect rect;
    // Drawn only at scale 1, unrotated and at whole pixels, so texel for texel: filtering never
    // reads past its edges. The others are scaled or rotated (or stretched, for the white texel).
    bool exact;
};

// The rectangles as the game's drawing code computes them.
std::vector<Named> gameRectangles() {
    std::vector<Named> all;
    auto add = [&all](std::string name, Rect r, bool exact) {
        all.push_back({std::move(name), r, exact});
    };
    const char* facings[] = {"right", "left"};
    for (int facing = 0; facing < 2; ++facing) {
        for (int f = 0; f < 3; ++f)
            add("submarine " + std::string(facings[facing]) + " " + std::to_string(f),
                {1 + 64 * f, 1 + 32 * facing, 62, 30}, true);
        for (int f = 0; f < 4; ++f)
            add("torpedo " + std::string(facings[facing]) + " " + std::to_string(f),
                {192 + 32 * facing, 16 * f, 32, 16}, true);
        for (int f = 0; f < 2; ++f)
            add("piranha row " + std::to_string(facing) + " " + std::to_string(f),
                {1 + 32 * f, 65 + 32 * facing, 30, 30}, false);
    }
    for (int f = 0; f < 7; ++f)
        add("bubble " + std::to_string(f), {225, 65 + 16 * f, 14, 14}, false);
    for (int f = 0; f < 5; ++f)
        add("explosion " + std::to_string(f), {1 + 32 * f, 209, 30, 30}, false);
    for (int f = 0; f < 8; ++f) add("surface " + std::to_string(f), {32 * f, 176, 32, 32}, true);
    add("title logo", {64, 64, 160, 112}, true);
    add("sea bed", {32, 128, 32, 32}, true);
    return all;
}

// The texel the rectangle primitive stretches, with the neighbours bilinear filtering reads.
constexpr Rect kWhiteBlock{0, 128, 3, 3};

class SpriteSheet : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        std::string why;
        auto decoded = decodeBmp(readFile(resFolder() / "image.bmp"), &why);
        ASSERT_TRUE(decoded) << why;
        sheet_ = new Image(std::move(*decoded));
    }
    static void TearDownTestSuite() { delete sheet_; }

    static Image* sheet_;
};

Image* SpriteSheet::sheet_ = nullptr;

TEST_F(SpriteSheet, IsA24BitBitmapHoldingEveryRectangle) {
    ASSERT_TRUE(sheet_);
    EXPECT_EQ(sheet_->bitsPerPixel, 24);
    for (const Named& n : gameRectangles()) {
        const Rect r = n.rect;
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.left + r.width <= sheet_->width &&
                    r.top + r.height <= sheet_->height)
            << n.name << " lies outside the " << sheet_->width << " x " << sheet_->height
            << " sheet";
    }
}

TEST_F(SpriteSheet, WhiteTexelAndItsNeighboursAreOpaqueWhite) {
    ASSERT_TRUE(sheet_);
    for (int y = kWhiteBlock.top; y < kWhiteBlock.top + kWhiteBlock.height; ++y)
        for (int x = kWhiteBlock.left; x < kWhiteBlock.left + kWhiteBlock.width; ++x)
            EXPECT_EQ(sheet_->at(x, y), (Pixel{255, 255, 255})) << "at " << x << ", " << y;
}

TEST_F(SpriteSheet, EveryRectangleHasSomethingToSee) {
    ASSERT_TRUE(sheet_);
    for (const Named& n : gameRectangles()) {
        int lit = 0;
        for (int y = n.rect.top; y < n.rect.top + n.rect.height; ++y)
            for (int x = n.rect.left; x < n.rect.left + n.rect.width; ++x)
                lit += !sheet_->at(x, y).isBlack();
        // A picture, not a stray pixel: at least a tenth of the rectangle is lit.
        EXPECT_GE(lit * 10, n.rect.width * n.rect.height) << n.name << " is (nearly) empty";
    }
}

TEST_F(SpriteSheet, RectanglesDoNotOverlap) {
    auto all = gameRectangles();
    all.push_back({"white texel block", kWhiteBlock, false});
    for (std::size_t i = 0; i < all.size(); ++i)
        for (std::size_t j = i + 1; j < all.size(); ++j) {
            const Rect a = all[i].rect, b = all[j].rect;
            const bool apart = a.left + a.width <= b.left || b.left + b.width <= a.left ||
                               a.top + a.height <= b.top || b.top + b.height <= a.top;
            EXPECT_TRUE(apart) << all[i].name << " overlaps " << all[j].name;
        }
}

// Filtering a scaled or rotated sprite reads one texel beyond its rectangle, so that ring must be
// black (transparent). Where two rectangles touch, the shared edge may be lit only when both are
// copied texel for texel.
TEST_F(SpriteSheet, RingAroundEachRectangleIsBlackWhereFilteringReachesIt) {
    ASSERT_TRUE(sheet_);
    auto all = gameRectangles();
    all.push_back({"white texel block", kWhiteBlock, false});
    for (const Named& n : all) {
        const Rect r = n.rect;
        for (int y = r.top - 1; y <= r.top + r.height; ++y) {
            for (int x = r.left - 1; x <= r.left + r.width; ++x) {
                if (r.contains(x, y) || x < 0 || y < 0 || x >= sheet_->width || y >= sheet_->height)
                    continue;
                bool bothExact = false;
                for (const Named& other : all)
                    bothExact |= n.exact && other.exact && other.rect.contains(x, y);
                if (!bothExact) {
                    EXPECT_TRUE(sheet_->at(x, y).isBlack())
                        << "beside " << n.name << " at " << x << ", " << y;
                }
            }
        }
    }
}

TEST_F(SpriteSheet, EverythingOutsideTheRectanglesIsBlack) {
    ASSERT_TRUE(sheet_);
    auto all = gameRectangles();
    all.push_back({"white texel block", kWhiteBlock, false});
    int stray = 0;
    for (int y = 0; y < sheet_->height; ++y)
        for (int x = 0; x < sheet_->width; ++x) {
            bool named = false;
            for (const Named& n : all) named |= n.rect.contains(x, y);
            if (!named && !sheet_->at(x, y).isBlack() && stray++ < 10)
                ADD_FAILURE() << "lit pixel outside every rectangle at " << x << ", " << y;
        }
    EXPECT_EQ(stray, 0);
}

// The game picks the left-facing picture for movement to the left; it must be the same sprite.
TEST_F(SpriteSheet, LeftFacingFramesMirrorRightFacingOnes) {
    ASSERT_TRUE(sheet_);
    struct Pair {
        const char* what;
        Rect right, left;
    };
    std::vector<Pair> pairs;
    for (int f = 0; f < 3; ++f)
        pairs.push_back({"submarine", {1 + 64 * f, 1, 62, 30}, {1 + 64 * f, 33, 62, 30}});
    for (int f = 0; f < 4; ++f)
        pairs.push_back({"torpedo", {192, 16 * f, 32, 16}, {224, 16 * f, 32, 16}});
    for (int f = 0; f < 2; ++f)
        pairs.push_back({"piranha", {1 + 32 * f, 65, 30, 30}, {1 + 32 * f, 97, 30, 30}});
    for (const Pair& p : pairs) {
        int differing = 0;
        for (int y = 0; y < p.right.height; ++y)
            for (int x = 0; x < p.right.width; ++x)
                differing += sheet_->at(p.right.left + x, p.right.top + y) !=
                             sheet_->at(p.left.left + p.left.width - 1 - x, p.left.top + y);
        EXPECT_EQ(differing, 0) << p.what << " at " << p.right.left << ", " << p.right.top;
    }
}

// Sum of channel differences between column a of one rectangle and column b of another.
int columnStep(const Image& img, int xa, int xb, int top, int height) {
    int sum = 0;
    for (int y = top; y < top + height; ++y) {
        const Pixel a = img.at(xa, y), b = img.at(xb, y);
        sum += std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
    }
    return sum;
}

// A tile row joins seamlessly when the step across a joint is no larger than the largest step
// between neighbouring columns inside the pictures.
TEST_F(SpriteSheet, TilesJoinWithoutSeams) {
    ASSERT_TRUE(sheet_);
    struct Row {
        const char* what;
        std::vector<int> lefts;  // tiles in the order they are laid side by side, wrapping
        int top;
    };
    const Row rows[] = {
        {"sea bed", {32}, 128},
        {"surface frames k, k + 1", {0, 32, 64, 96, 128, 160, 192, 224}, 176},
    };
    for (const Row& row : rows) {
        int inner = 0;
        for (int left : row.lefts)
            for (int x = left; x < left + 31; ++x)
                inner = std::max(inner, columnStep(*sheet_, x, x + 1, row.top, 32));
        for (std::size_t i = 0; i < row.lefts.size(); ++i) {
            const int right = row.lefts[i] + 31, next = row.lefts[(i + 1) % row.lefts.size()];
            EXPECT_LE(columnStep(*sheet_, right, next, row.top, 32), inner)
                << row.what << ": seam after the tile at " << row.lefts[i];
        }
    }
}

TEST(WindowIcon, IsA32By32BitmapWithTransparentCornersAndOpaqueCentre) {
    std::string why;
    const auto icon = decodeBmp(readFile(resFolder() / "icon.bmp"), &why);
    ASSERT_TRUE(icon) << why;
    EXPECT_EQ(icon->width, 32);
    EXPECT_EQ(icon->height, 32);
    EXPECT_EQ(icon->bitsPerPixel, 32);
    for (auto [x, y] : {std::pair{0, 0}, {31, 0}, {0, 31}, {31, 31}})
        EXPECT_EQ(icon->at(x, y).a, 0) << "corner " << x << ", " << y;
    EXPECT_EQ(icon->at(16, 16).a, 255);
}

}  // namespace
}  // namespace asset_test
