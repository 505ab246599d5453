#include "platform/audio/device.h"

#include <atomic>

#include "platform/audio/openal/openal_backend.h"

namespace plat {

namespace {
std::atomic<DsBackend*> g_installed{nullptr};
} // namespace

void DsInstallBackend(DsBackend* backend)
{
    g_installed.store(backend);
}

DsBackend& DsCurrentBackend()
{
    DsBackend* b = g_installed.load();
    return b != nullptr ? *b : OpenAlBackend();
}

DsResult DsEnumerate(const DsBackend::DriverCallback& callback)
{
    return DsCurrentBackend().EnumerateDrivers(callback);
}

DsResult DsCreate(std::shared_ptr<DsDevice>* out)
{
    if (out == nullptr) return DSERR_INVALIDPARAM;
    return DsCurrentBackend().CreateDevice(out);
}

// ---- Single-value setters: read the latest block, change one field, set it back. ---------------

DsResult Ds3DBuffer::SetPosition(float x, float y, float z, uint32_t apply)
{
    Ds3DBufferParams p;
    if (DsResult r = GetAllParameters(&p); DsFailed(r)) return r;
    p.position = {x, y, z};
    return SetAllParameters(p, apply);
}

DsResult Ds3DBuffer::SetVelocity(float x, float y, float z, uint32_t apply)
{
    Ds3DBufferParams p;
    if (DsResult r = GetAllParameters(&p); DsFailed(r)) return r;
    p.velocity = {x, y, z};
    return SetAllParameters(p, apply);
}

DsResult Ds3DBuffer::SetMinDistance(float distance, uint32_t apply)
{
    Ds3DBufferParams p;
    if (DsResult r = GetAllParameters(&p); DsFailed(r)) return r;
    p.minDistance = distance;
    return SetAllParameters(p, apply);
}

DsResult Ds3DBuffer::SetMaxDistance(float distance, uint32_t apply)
{
    Ds3DBufferParams p;
    if (DsResult r = GetAllParameters(&p); DsFailed(r)) return r;
    p.maxDistance = distance;
    return SetAllParameters(p, apply);
}

DsResult Ds3DBuffer::SetMode(uint32_t mode, uint32_t apply)
{
    Ds3DBufferParams p;
    if (DsResult r = GetAllParameters(&p); DsFailed(r)) return r;
    p.mode = mode;
    return SetAllParameters(p, apply);
}

DsResult DsListener::SetPosition(float x, float y, float z, uint32_t apply)
{
    DsListenerParams p;
    if (DsResult r = GetAllParameters(&p); DsFailed(r)) return r;
    p.position = {x, y, z};
    return SetAllParameters(p, apply);
}

DsResult DsListener::SetVelocity(float x, float y, float z, uint32_t apply)
{
    DsListenerParams p;
    if (DsResult r = GetAllParameters(&p); DsFailed(r)) return r;
    p.velocity = {x, y, z};
    return SetAllParameters(p, apply);
}

DsResult DsListener::SetOrientation(float frontX, float frontY, float frontZ, float topX, float topY,
                                    float topZ, uint32_t apply)
{
    DsListenerParams p;
    if (DsResult r = GetAllParameters(&p); DsFailed(r)) return r;
    p.orientFront = {frontX, frontY, frontZ};
    p.orientTop = {topX, topY, topZ};
    return SetAllParameters(p, apply);
}

DsResult DsListener::SetDistanceFactor(float factor, uint32_t apply)
{
    DsListenerParams p;
    if (DsResult r = GetAllParameters(&p); DsFailed(r)) return r;
    p.distanceFactor = factor;
    return SetAllParameters(p, apply);
}

DsResult DsListener::SetRolloffFactor(float factor, uint32_t apply)
{
    DsListenerParams p;
    if (DsResult r = GetAllParameters(&p); DsFailed(r)) return r;
    p.rolloffFactor = factor;
    return SetAllParameters(p, apply);
}

DsResult DsListener::SetDopplerFactor(float factor, uint32_t apply)
{
    DsListenerParams p;
    if (DsResult r = GetAllParameters(&p); DsFailed(r)) return r;
    p.dopplerFactor = factor;
    return SetAllParameters(p, apply);
}

} // namespace plat
