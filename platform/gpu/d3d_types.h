#pragma once
// Values and records of the graphics device interface (device.h). The renderer speaks in these
// numbers: render states, texture stage states, formats, vertex format flags, buffer usages, pools,
// lock flags, primitive and transform types, blend / compare / stencil operations and result codes.
// Only what the renderer uses is here. The numbers are ours; none of them reaches a file. No value
// of a state equals 0xFFFFFFFF, which the renderer's caches use as "unknown", and the boolean states
// take 0 and 1.
#include <cstdint>
#include <string>

namespace gpu {

using HResult = int32_t;

constexpr bool Succeeded(HResult r) { return r >= 0; }
constexpr bool Failed(HResult r) { return r < 0; }

// ---- Results ----
constexpr HResult D3D_OK = 0;
constexpr HResult D3DERR_WRONGTEXTUREFORMAT = static_cast<HResult>(0x88760818u);
constexpr HResult D3DERR_NOTAVAILABLE = static_cast<HResult>(0x8876086Au);
constexpr HResult D3DERR_INVALIDCALL = static_cast<HResult>(0x8876086Cu);
constexpr HResult D3DERR_OUTOFVIDEOMEMORY = static_cast<HResult>(0x8876017Cu);
constexpr HResult D3DERR_DEVICELOST = static_cast<HResult>(0x88760868u);
constexpr HResult D3DERR_DEVICENOTRESET = static_cast<HResult>(0x88760869u);
constexpr HResult D3DERR_NOTFOUND = static_cast<HResult>(0x88760866u);
constexpr HResult E_OUTOFMEMORY = static_cast<HResult>(0x8007000Eu);
constexpr HResult E_FAIL = static_cast<HResult>(0x80004005u);

// The interface version the renderer asks for when it creates the Direct3D object.
constexpr uint32_t D3D_SDK_VERSION = 220;

// ---- Adapters and devices ----
constexpr uint32_t D3DADAPTER_DEFAULT = 0;
constexpr uint32_t D3DDEVTYPE_HAL = 1;
constexpr uint32_t D3DENUM_NO_WHQL_LEVEL = 2;
constexpr uint32_t D3DCREATE_SOFTWARE_VERTEXPROCESSING = 0x20;
constexpr uint32_t D3DSWAPEFFECT_DISCARD = 1;
constexpr uint32_t D3DSWAPEFFECT_COPY = 3;
constexpr uint32_t D3DPRESENT_INTERVAL_DEFAULT = 0;
constexpr uint32_t D3DPRESENT_INTERVAL_ONE = 1;
constexpr uint32_t D3DMULTISAMPLE_NONE = 0;
// PresentParameters::Flags: the back buffer may be locked (read back).
constexpr uint32_t D3DPRESENTFLAG_LOCKABLE_BACKBUFFER = 0x1;
constexpr uint32_t D3DBACKBUFFER_TYPE_MONO = 0;
constexpr uint32_t D3DRTYPE_SURFACE = 1;
constexpr uint32_t D3DRTYPE_TEXTURE = 3;

// ---- Formats ----
constexpr uint32_t D3DFMT_UNKNOWN = 0;
constexpr uint32_t D3DFMT_R8G8B8 = 20;
constexpr uint32_t D3DFMT_A8R8G8B8 = 21;
constexpr uint32_t D3DFMT_X8R8G8B8 = 22;
constexpr uint32_t D3DFMT_R5G6B5 = 23;
constexpr uint32_t D3DFMT_X1R5G5B5 = 24;
constexpr uint32_t D3DFMT_A1R5G5B5 = 25;
constexpr uint32_t D3DFMT_A4R4G4B4 = 26;
constexpr uint32_t D3DFMT_R3G3B2 = 27;
constexpr uint32_t D3DFMT_A8 = 28;
constexpr uint32_t D3DFMT_A8R3G3B2 = 29;
constexpr uint32_t D3DFMT_X4R4G4B4 = 30;
constexpr uint32_t D3DFMT_A2B10G10R10 = 31;
constexpr uint32_t D3DFMT_G16R16 = 34;
constexpr uint32_t D3DFMT_A8P8 = 40;
constexpr uint32_t D3DFMT_P8 = 41;
constexpr uint32_t D3DFMT_L8 = 50;
constexpr uint32_t D3DFMT_A8L8 = 51;
constexpr uint32_t D3DFMT_A4L4 = 52;
constexpr uint32_t D3DFMT_D16_LOCKABLE = 70;
constexpr uint32_t D3DFMT_D32 = 71;
constexpr uint32_t D3DFMT_D15S1 = 73;
constexpr uint32_t D3DFMT_D24S8 = 75;
constexpr uint32_t D3DFMT_D24X8 = 77;
constexpr uint32_t D3DFMT_D24X4S4 = 79;
constexpr uint32_t D3DFMT_D16 = 80;
constexpr uint32_t D3DFMT_INDEX16 = 101;

// ---- Usages, pools, locks ----
constexpr uint32_t D3DUSAGE_RENDERTARGET = 0x1;
constexpr uint32_t D3DUSAGE_DEPTHSTENCIL = 0x2;
constexpr uint32_t D3DUSAGE_WRITEONLY = 0x8;
constexpr uint32_t D3DPOOL_DEFAULT = 0;
constexpr uint32_t D3DPOOL_MANAGED = 1;
constexpr uint32_t D3DPOOL_SYSTEMMEM = 2;
constexpr uint32_t D3DLOCK_READONLY = 0x10;

// ---- Clear flags ----
constexpr uint32_t D3DCLEAR_TARGET = 0x1;
constexpr uint32_t D3DCLEAR_ZBUFFER = 0x2;
constexpr uint32_t D3DCLEAR_STENCIL = 0x4;

// ---- Vertex formats (flexible vertex format flags) ----
constexpr uint32_t D3DFVF_XYZ = 0x002;
constexpr uint32_t D3DFVF_NORMAL = 0x010;
constexpr uint32_t D3DFVF_DIFFUSE = 0x040; // a D3DCOLOR (0xAARRGGBB) after the normal
constexpr uint32_t D3DFVF_TEXCOUNT_MASK = 0xF00;
constexpr uint32_t D3DFVF_TEXCOUNT_SHIFT = 8;
constexpr uint32_t D3DFVF_TEX1 = 0x100;
constexpr uint32_t D3DFVF_TEX2 = 0x200;

// ---- Primitive types ----
constexpr uint32_t D3DPT_POINTLIST = 1;
constexpr uint32_t D3DPT_LINELIST = 2;
constexpr uint32_t D3DPT_LINESTRIP = 3;
constexpr uint32_t D3DPT_TRIANGLELIST = 4;
constexpr uint32_t D3DPT_TRIANGLESTRIP = 5;
constexpr uint32_t D3DPT_TRIANGLEFAN = 6;

// ---- Transform state types ----
constexpr uint32_t D3DTS_VIEW = 2;
constexpr uint32_t D3DTS_PROJECTION = 3;
constexpr uint32_t D3DTS_TEXTURE0 = 16; // TEXTURE0 + n for stages 0..7
constexpr uint32_t D3DTS_WORLD = 256;

// ---- Render states ----
constexpr uint32_t D3DRS_ZENABLE = 7;
constexpr uint32_t D3DRS_ZWRITEENABLE = 14;
constexpr uint32_t D3DRS_SRCBLEND = 19;
constexpr uint32_t D3DRS_DESTBLEND = 20;
constexpr uint32_t D3DRS_CULLMODE = 22;
constexpr uint32_t D3DRS_ZFUNC = 23;
constexpr uint32_t D3DRS_ALPHABLENDENABLE = 27;
constexpr uint32_t D3DRS_SPECULARENABLE = 29;
constexpr uint32_t D3DRS_STENCILENABLE = 52;
constexpr uint32_t D3DRS_STENCILFAIL = 53;
constexpr uint32_t D3DRS_STENCILZFAIL = 54;
constexpr uint32_t D3DRS_STENCILPASS = 55;
constexpr uint32_t D3DRS_STENCILFUNC = 56;
constexpr uint32_t D3DRS_STENCILREF = 57;
constexpr uint32_t D3DRS_STENCILMASK = 58;
constexpr uint32_t D3DRS_STENCILWRITEMASK = 59;
constexpr uint32_t D3DRS_TEXTUREFACTOR = 60;
constexpr uint32_t D3DRS_LIGHTING = 137;
constexpr uint32_t D3DRS_AMBIENT = 139;
constexpr uint32_t D3DRS_LOCALVIEWER = 142;
constexpr uint32_t D3DRS_NORMALIZENORMALS = 143;
// One past the largest render state number; states at or above it are refused.
constexpr uint32_t D3DRS_COUNT = 144;

// Depth buffer switch (D3DRS_ZENABLE)
constexpr uint32_t D3DZB_FALSE = 0;
constexpr uint32_t D3DZB_TRUE = 1;

// Blend factors (D3DRS_SRCBLEND, D3DRS_DESTBLEND)
constexpr uint32_t D3DBLEND_ZERO = 1;
constexpr uint32_t D3DBLEND_ONE = 2;
constexpr uint32_t D3DBLEND_SRCCOLOR = 3;
constexpr uint32_t D3DBLEND_INVSRCCOLOR = 4;
constexpr uint32_t D3DBLEND_SRCALPHA = 5;
constexpr uint32_t D3DBLEND_INVSRCALPHA = 6;
constexpr uint32_t D3DBLEND_DESTALPHA = 7;
constexpr uint32_t D3DBLEND_INVDESTALPHA = 8;
constexpr uint32_t D3DBLEND_DESTCOLOR = 9;
constexpr uint32_t D3DBLEND_INVDESTCOLOR = 10;
constexpr uint32_t D3DBLEND_SRCALPHASAT = 11;

// Compare functions (D3DRS_ZFUNC, D3DRS_STENCILFUNC)
constexpr uint32_t D3DCMP_NEVER = 1;
constexpr uint32_t D3DCMP_LESS = 2;
constexpr uint32_t D3DCMP_EQUAL = 3;
constexpr uint32_t D3DCMP_LESSEQUAL = 4;
constexpr uint32_t D3DCMP_GREATER = 5;
constexpr uint32_t D3DCMP_NOTEQUAL = 6;
constexpr uint32_t D3DCMP_GREATEREQUAL = 7;
constexpr uint32_t D3DCMP_ALWAYS = 8;

// Cull modes (D3DRS_CULLMODE): which winding, as seen on the screen, is dropped.
constexpr uint32_t D3DCULL_NONE = 1;
constexpr uint32_t D3DCULL_CW = 2;
constexpr uint32_t D3DCULL_CCW = 3;

// Stencil operations (D3DRS_STENCILFAIL, ...ZFAIL, ...PASS). INCR and DECR wrap around; the SAT
// forms clamp.
constexpr uint32_t D3DSTENCILOP_KEEP = 1;
constexpr uint32_t D3DSTENCILOP_ZERO = 2;
constexpr uint32_t D3DSTENCILOP_REPLACE = 3;
constexpr uint32_t D3DSTENCILOP_INCRSAT = 4;
constexpr uint32_t D3DSTENCILOP_DECRSAT = 5;
constexpr uint32_t D3DSTENCILOP_INVERT = 6;
constexpr uint32_t D3DSTENCILOP_INCR = 7;
constexpr uint32_t D3DSTENCILOP_DECR = 8;

// ---- Texture stage states ----
constexpr uint32_t D3DTSS_COLOROP = 1;
constexpr uint32_t D3DTSS_COLORARG1 = 2;
constexpr uint32_t D3DTSS_COLORARG2 = 3;
constexpr uint32_t D3DTSS_ALPHAOP = 4;
constexpr uint32_t D3DTSS_ALPHAARG1 = 5;
constexpr uint32_t D3DTSS_ALPHAARG2 = 6;
constexpr uint32_t D3DTSS_TEXCOORDINDEX = 11;
constexpr uint32_t D3DTSS_ADDRESSU = 13;
constexpr uint32_t D3DTSS_ADDRESSV = 14;
constexpr uint32_t D3DTSS_MAGFILTER = 16;
constexpr uint32_t D3DTSS_MINFILTER = 17;
constexpr uint32_t D3DTSS_MIPFILTER = 18;
constexpr uint32_t D3DTSS_TEXTURETRANSFORMFLAGS = 24;
// One past the largest stage state number.
constexpr uint32_t D3DTSS_COUNT = 25;
// Texture stages of a device (the stage number of every stage call is below this).
constexpr uint32_t MAX_TEXTURE_STAGES = 8;

// Stage operations (D3DTSS_COLOROP, D3DTSS_ALPHAOP)
constexpr uint32_t D3DTOP_DISABLE = 1;
constexpr uint32_t D3DTOP_SELECTARG1 = 2;
constexpr uint32_t D3DTOP_SELECTARG2 = 3;
constexpr uint32_t D3DTOP_MODULATE = 4;
constexpr uint32_t D3DTOP_MODULATE2X = 5;
constexpr uint32_t D3DTOP_MODULATE4X = 6;
constexpr uint32_t D3DTOP_ADD = 7;
constexpr uint32_t D3DTOP_ADDSIGNED = 8;
constexpr uint32_t D3DTOP_ADDSIGNED2X = 9;
constexpr uint32_t D3DTOP_SUBTRACT = 10;
constexpr uint32_t D3DTOP_ADDSMOOTH = 11;
constexpr uint32_t D3DTOP_BLENDDIFFUSEALPHA = 12;
constexpr uint32_t D3DTOP_BLENDTEXTUREALPHA = 13;
constexpr uint32_t D3DTOP_BLENDFACTORALPHA = 14;
constexpr uint32_t D3DTOP_BLENDTEXTUREALPHAPM = 15;
constexpr uint32_t D3DTOP_BLENDCURRENTALPHA = 16;
constexpr uint32_t D3DTOP_PREMODULATE = 17;
constexpr uint32_t D3DTOP_MODULATEALPHA_ADDCOLOR = 18;
constexpr uint32_t D3DTOP_MODULATECOLOR_ADDALPHA = 19;
constexpr uint32_t D3DTOP_MODULATEINVALPHA_ADDCOLOR = 20;
constexpr uint32_t D3DTOP_MODULATEINVCOLOR_ADDALPHA = 21;
constexpr uint32_t D3DTOP_DOTPRODUCT3 = 24;
constexpr uint32_t D3DTOP_MULTIPLYADD = 25;
constexpr uint32_t D3DTOP_LERP = 26;

// Stage arguments (D3DTSS_COLORARGn, D3DTSS_ALPHAARGn)
constexpr uint32_t D3DTA_DIFFUSE = 0;
constexpr uint32_t D3DTA_CURRENT = 1;
constexpr uint32_t D3DTA_TEXTURE = 2;
constexpr uint32_t D3DTA_TFACTOR = 3;
constexpr uint32_t D3DTA_SPECULAR = 4;
constexpr uint32_t D3DTA_SELECTMASK = 0xF;

// Texture filters (D3DTSS_MAGFILTER, MINFILTER, MIPFILTER)
constexpr uint32_t D3DTEXF_NONE = 0;
constexpr uint32_t D3DTEXF_POINT = 1;
constexpr uint32_t D3DTEXF_LINEAR = 2;
constexpr uint32_t D3DTEXF_ANISOTROPIC = 3;
constexpr uint32_t D3DTEXF_FLATCUBIC = 4;
constexpr uint32_t D3DTEXF_GAUSSIANCUBIC = 5;

// Texture addressing (D3DTSS_ADDRESSU, ADDRESSV)
constexpr uint32_t D3DTADDRESS_WRAP = 1;
constexpr uint32_t D3DTADDRESS_MIRROR = 2;
constexpr uint32_t D3DTADDRESS_CLAMP = 3;
constexpr uint32_t D3DTADDRESS_BORDER = 4;
constexpr uint32_t D3DTADDRESS_MIRRORONCE = 5;

// Texture coordinate transform (D3DTSS_TEXTURETRANSFORMFLAGS)
constexpr uint32_t D3DTTFF_DISABLE = 0;
constexpr uint32_t D3DTTFF_COUNT2 = 2;

// ---- Lights ----
constexpr uint32_t D3DLIGHT_DIRECTIONAL = 3;

// ---- Records ----

struct ColorValue {
    float r = 0, g = 0, b = 0, a = 0;
};

struct Vector3 {
    float x = 0, y = 0, z = 0;
};

// 16 floats, row-major (m[row * 4 + col]); points are row vectors, so the translation is in row 3.
struct Matrix {
    float m[16] = {};
    static Matrix Identity() {
        Matrix r;
        r.m[0] = r.m[5] = r.m[10] = r.m[15] = 1.0f;
        return r;
    }
};

struct Rect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};

struct Point {
    int32_t x = 0, y = 0;
};

struct Viewport {
    uint32_t X = 0, Y = 0, Width = 0, Height = 0;
    float MinZ = 0.0f, MaxZ = 1.0f;
};

// Same order as the renderer's material: diffuse, ambient, specular, emissive, power (17 floats).
struct Material {
    ColorValue Diffuse, Ambient, Specular, Emissive;
    float Power = 0.0f;
};

struct Light {
    uint32_t Type = D3DLIGHT_DIRECTIONAL;
    ColorValue Diffuse, Specular, Ambient;
    Vector3 Position, Direction;
    float Range = 0, Falloff = 0, Attenuation0 = 0, Attenuation1 = 0, Attenuation2 = 0, Theta = 0, Phi = 0;
};

// The thirteen presentation fields, kept by the renderer for every reset.
struct PresentParameters {
    uint32_t BackBufferWidth = 0;
    uint32_t BackBufferHeight = 0;
    uint32_t BackBufferFormat = D3DFMT_UNKNOWN;
    uint32_t BackBufferCount = 0;
    uint32_t MultiSampleType = D3DMULTISAMPLE_NONE;
    uint32_t SwapEffect = 0;
    void* hDeviceWindow = nullptr;
    int32_t Windowed = 0;
    int32_t EnableAutoDepthStencil = 0;
    uint32_t AutoDepthStencilFormat = D3DFMT_UNKNOWN;
    uint32_t Flags = 0;
    uint32_t FullScreen_RefreshRateInHz = 0;
    uint32_t FullScreen_PresentationInterval = 0;
};

struct DisplayMode {
    uint32_t Width = 0, Height = 0, RefreshRate = 0, Format = D3DFMT_UNKNOWN;
};

// The capabilities the renderer reads.
struct Caps {
    uint32_t MaxTextureWidth = 0;
    uint32_t MaxTextureHeight = 0;
    uint32_t MaxSimultaneousTextures = 0;
};

struct SurfaceDesc {
    uint32_t Format = D3DFMT_UNKNOWN;
    uint32_t Type = D3DRTYPE_SURFACE;
    uint32_t Usage = 0;
    uint32_t Pool = D3DPOOL_DEFAULT;
    uint32_t Size = 0;
    uint32_t MultiSampleType = D3DMULTISAMPLE_NONE;
    uint32_t Width = 0, Height = 0;
};

struct LockedRect {
    int32_t Pitch = 0;
    void* pBits = nullptr;
};

// The driver version is logged as four 16-bit parts, high first.
struct AdapterIdentifier {
    std::string Driver;
    std::string Description;
    uint64_t DriverVersion = 0;
};

} // namespace gpu
