#include "render/facility/format_choice.h"

namespace texload {

namespace {

// The formats treated as texture formats, in the order that breaks ties.
constexpr Format kCandidates[] = {
    Format::A8R8G8B8, Format::X8R8G8B8, Format::R5G6B5,      Format::X1R5G5B5,
    Format::A1R5G5B5, Format::A4R4G4B4, Format::R3G3B2,      Format::A8,
    Format::A8R3G3B2, Format::X4R4G4B4, Format::A2B10G10R10, Format::A8B8G8R8,
    Format::X8B8G8R8, Format::G16R16,   Format::A2R10G10B10, Format::A16B16G16R16,
};
constexpr Format kLuminanceCandidates[] = {Format::L8, Format::A8L8, Format::A4L4, Format::L16};

struct Best {
    Format format = Format::Unknown;
    uint32_t cost = 0;
};

void consider(Best& best, const ChannelBits& wanted, Format candidate, FormatFilter allowed,
              const void* context) {
    const std::optional<uint32_t> cost = formatCost(wanted, candidate);
    if (!cost) return;
    if (allowed && !allowed(candidate, context)) return;
    // Candidates arrive in list order, so only a strictly better one replaces the best.
    if (best.format == Format::Unknown || *cost < best.cost ||
        (*cost == best.cost && bytesPerPixel(candidate) < bytesPerPixel(best.format))) {
        best = Best{candidate, *cost};
    }
}

}  // namespace

std::optional<uint32_t> formatCost(const ChannelBits& wanted, Format candidate) {
    const ChannelBits have = channelBits(candidate);
    const int w[4] = {wanted.alpha, wanted.red, wanted.green, wanted.blue};
    const int h[4] = {have.alpha, have.red, have.green, have.blue};
    uint32_t cost = 0;
    bool sharesAChannel = false;
    bool wantsAny = false;
    for (int i = 0; i < 4; ++i) {
        if (w[i] > 0) wantsAny = true;
        if (w[i] > 0 && h[i] > 0) sharesAChannel = true;
        if (w[i] > 0 && h[i] == 0) {
            cost += 1u << 24;
        } else if (w[i] == 0 && h[i] > 0) {
            cost += 256;
        } else if (h[i] < w[i]) {
            cost += (1u << 16) * static_cast<uint32_t>(w[i] - h[i]);
        } else {
            cost += static_cast<uint32_t>(h[i] - w[i]);
        }
    }
    if (wantsAny && !sharesAChannel) return std::nullopt;
    return cost;
}

Format nearestFormat(const ChannelBits& wanted, bool luminance, FormatFilter allowed,
                     const void* context) {
    Best best;
    for (Format f : kCandidates) consider(best, wanted, f, allowed, context);
    if (luminance) {
        for (Format f : kLuminanceCandidates) consider(best, wanted, f, allowed, context);
    }
    return best.format;
}

Format textureFormatFor(Format imageFormat, bool keyInForce, bool paletteHasAlpha) {
    const FormatInfo& info = formatInfo(imageFormat);
    if (info.palette) return paletteHasAlpha ? Format::A8R8G8B8 : Format::X8R8G8B8;
    if (keyInForce && info.alpha.bits == 0 && info.red.bits > 0) {
        ChannelBits wanted = channelBits(imageFormat);
        wanted.alpha = 1;
        const Format nearest = nearestFormat(wanted, info.luminance);
        if (nearest != Format::Unknown) return nearest;
    }
    if (imageFormat == Format::R8G8B8) return Format::X8R8G8B8;
    return imageFormat;
}

}  // namespace texload
