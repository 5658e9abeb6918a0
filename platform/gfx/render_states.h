#pragma once
// The device's pipeline settings: render states, texture stage states, sampler states, vertex
// formats, transforms and the viewport, with the values each one takes.

#include <cstdint>

namespace plat::gfx {

enum class RenderState : uint8_t {
    ZEnable,       // recorded only: the device has no depth test
    FillMode,      // fill::
    CullMode,      // cull::
    ZWriteEnable,  // recorded only
    AlphaTestEnable,
    AlphaRef,   // 0..255
    AlphaFunc,  // cmp::
    AlphaBlendEnable,
    SrcBlend,               // blend::
    DestBlend,              // blend::
    BlendOp,                // blendOp::
    ColorWriteEnable,       // colorWrite:: mask
    TextureFactor,          // 0xAARRGGBB, the textureArg::Factor colour
    Clipping,               // recorded only
    Lighting,               // recorded only: untransformed vertices take their diffuse colour as is
    FogEnable,              // recorded only
    SpecularEnable,         // recorded only
    StencilEnable,          // recorded only
    DiffuseMaterialSource,  // recorded only
    VertexBlend,            // recorded only
    IndexedVertexBlendEnable,  // recorded only
    ClipPlaneEnable,           // recorded only
    Wrap0,                     // recorded only
    SrgbWriteEnable,           // recorded only
    AdaptiveTessellation,      // recorded only
    NPatchSegments,            // recorded only; a float's bits
    Count
};

namespace fill {
constexpr uint32_t Point = 1, Wireframe = 2, Solid = 3;  // only Solid is drawn
}
// Which triangles are dropped, by their winding on the screen (y pointing down).
namespace cull {
constexpr uint32_t None = 1, Clockwise = 2, CounterClockwise = 3;
}
namespace cmp {
constexpr uint32_t Never = 1, Less = 2, Equal = 3, LessEqual = 4, Greater = 5, NotEqual = 6,
                   GreaterEqual = 7, Always = 8;
}
namespace blend {
constexpr uint32_t Zero = 1, One = 2, SrcColor = 3, InvSrcColor = 4, SrcAlpha = 5, InvSrcAlpha = 6,
                   DestAlpha = 7, InvDestAlpha = 8, DestColor = 9, InvDestColor = 10;
}
namespace blendOp {
constexpr uint32_t Add = 1, Subtract = 2, RevSubtract = 3, Min = 4, Max = 5;
}
namespace colorWrite {
constexpr uint32_t Red = 1, Green = 2, Blue = 4, Alpha = 8, All = 0xF;
}
namespace materialSource {
constexpr uint32_t Material = 0, Color1 = 1, Color2 = 2;
}

// Stage 0 combines the texture and the diffuse colour; later stages are recorded, and must be
// disabled (their colour op textureOp::Disable), as the device evaluates stage 0 only.
enum class TextureStageState : uint8_t {
    ColorOp,
    ColorArg1,
    ColorArg2,
    AlphaOp,
    AlphaArg1,
    AlphaArg2,
    TexCoordIndex,
    TextureTransformFlags,  // recorded only
    Count
};

namespace textureOp {
constexpr uint32_t Disable = 1, SelectArg1 = 2, SelectArg2 = 3, Modulate = 4, Add = 7;
}
namespace textureArg {
constexpr uint32_t Diffuse = 0, Current = 1, Texture = 2, Factor = 3;
}
namespace textureTransform {
constexpr uint32_t Disable = 0;
}

enum class SamplerState : uint8_t {
    AddressU,     // address::
    AddressV,     // address::
    BorderColor,  // 0xAARRGGBB, for address::Border
    MagFilter,    // filter::
    MinFilter,    // filter::
    MipFilter,    // recorded only: level 0 is always the one sampled
    Count
};

namespace filter {
constexpr uint32_t None = 0, Point = 1, Linear = 2;
}
namespace address {
constexpr uint32_t Wrap = 1, Mirror = 2, Clamp = 3, Border = 4;
}

// Vertex format flags: a position (untransformed, or screen position with 1/w), a diffuse
// colour and one pair of texture coordinates, packed in that order.
namespace fvf {
constexpr uint32_t Xyz = 0x002;
constexpr uint32_t XyzRhw = 0x004;
constexpr uint32_t Diffuse = 0x040;
constexpr uint32_t Tex1 = 0x100;
}  // namespace fvf

// A screen-space vertex: x, y in pixels (pixel centres at whole numbers), z, 1/w.
struct TransformedVertex {
    float x, y, z, rhw;
    uint32_t diffuse;  // 0xAARRGGBB
    float u, v;
};
// An untransformed vertex: transformed by world, view and projection, then the viewport.
struct Vertex {
    float x, y, z;
    uint32_t diffuse;
    float u, v;
};

enum class PrimitiveType : uint8_t { TriangleList, TriangleStrip, TriangleFan };

enum class TransformType : uint8_t { World, View, Projection, Count };

// A 4 x 4 matrix applied to row vectors: v' = v * m, translation in the fourth row.
struct Matrix {
    float m[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
};

struct Viewport {
    uint32_t x = 0, y = 0, width = 0, height = 0;
    float minZ = 0.0f, maxZ = 1.0f;
};

// Flags of `Device::clear`.
namespace clearFlags {
constexpr uint32_t Target = 1, ZBuffer = 2, Stencil = 4;
}

}  // namespace plat::gfx
