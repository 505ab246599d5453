#include "platform/audio/device.h"

#include <atomic>

#include "platform/audio/openal/openal_backend.h"

namespace plat {

namespace {
std::atomic<DsBackend*> g_installed{nullptr};
} // namespace

void DsInstallBackend(DsBackend* backend) { g_installed.store(backend); }

DsBackend& DsCurrentBackend() {
    DsBackend* b = g_installed.load();
    return b != nullptr ? *b : OpenAlBackend();
}

DsResult DsEnumerate(const DsBackend::DriverCallback& callback) {
    return DsCurrentBackend().EnumerateDrivers(callback);
}

DsResult DsCreate(std::shared_ptr<DsDevice>* out) {
    if (out == nullptr) return DSERR_INVALIDPARAM;
    return DsCurrentBackend().CreateDevice(out);
}

// ---- Single-value setters: read the latest block, change one field, set it back. ---------------

namespace {

// Reads the interface's latest parameter block, lets `change` edit it and sets it back with
// `apply`; a failed read is returned as it is and sets nothing.
template <class Params, class Interface, class Change>
DsResult ChangeParams(Interface& self, uint32_t apply, Change change) {
    Params p;
    if (DsResult r = self.GetAllParameters(&p); DsFailed(r)) return r;
    change(p);
    return self.SetAllParameters(p, apply);
}

} // namespace

DsResult Ds3DBuffer::SetPosition(float x, float y, float z, uint32_t apply) {
    return ChangeParams<Ds3DBufferParams>(*this, apply, [&](auto& p) { p.position = {x, y, z}; });
}

DsResult Ds3DBuffer::SetVelocity(float x, float y, float z, uint32_t apply) {
    return ChangeParams<Ds3DBufferParams>(*this, apply, [&](auto& p) { p.velocity = {x, y, z}; });
}

DsResult Ds3DBuffer::SetMinDistance(float distance, uint32_t apply) {
    return ChangeParams<Ds3DBufferParams>(*this, apply, [&](auto& p) { p.minDistance = distance; });
}

DsResult Ds3DBuffer::SetMaxDistance(float distance, uint32_t apply) {
    return ChangeParams<Ds3DBufferParams>(*this, apply, [&](auto& p) { p.maxDistance = distance; });
}

DsResult Ds3DBuffer::SetMode(uint32_t mode, uint32_t apply) {
    return ChangeParams<Ds3DBufferParams>(*this, apply, [&](auto& p) { p.mode = mode; });
}

DsResult DsListener::SetPosition(float x, float y, float z, uint32_t apply) {
    return ChangeParams<DsListenerParams>(*this, apply, [&](auto& p) { p.position = {x, y, z}; });
}

DsResult DsListener::SetVelocity(float x, float y, float z, uint32_t apply) {
    return ChangeParams<DsListenerParams>(*this, apply, [&](auto& p) { p.velocity = {x, y, z}; });
}

DsResult DsListener::SetOrientation(float frontX, float frontY, float frontZ, float topX, float topY, float topZ,
                                    uint32_t apply) {
    return ChangeParams<DsListenerParams>(*this, apply, [&](auto& p) {
        p.orientFront = {frontX, frontY, frontZ};
        p.orientTop = {topX, topY, topZ};
    });
}

DsResult DsListener::SetDistanceFactor(float factor, uint32_t apply) {
    return ChangeParams<DsListenerParams>(*this, apply, [&](auto& p) { p.distanceFactor = factor; });
}

DsResult DsListener::SetRolloffFactor(float factor, uint32_t apply) {
    return ChangeParams<DsListenerParams>(*this, apply, [&](auto& p) { p.rolloffFactor = factor; });
}

DsResult DsListener::SetDopplerFactor(float factor, uint32_t apply) {
    return ChangeParams<DsListenerParams>(*this, apply, [&](auto& p) { p.dopplerFactor = factor; });
}

} // namespace plat
