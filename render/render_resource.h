#pragma once
// Render resources: everything that owns device objects (textures, mesh buffers, mesh instance
// buffers). A resource keeps enough in main memory to build its device objects again, registers
// itself in one registry for its whole life, and is told to restore or release its device objects
// when the device is created, reset or goes away. Resources may be made before the device exists;
// they get their device objects when the framework restores all resources after device creation.
#include <cstdint>
#include <string>
#include <vector>

// Type masks.
constexpr uint32_t RESOURCE_RESET = 1; // released and restored around a device reset (no type has it)
constexpr uint32_t RESOURCE_TEXTURE = 2;
constexpr uint32_t RESOURCE_MESH = 4;
constexpr uint32_t RESOURCE_MESH_INSTANCE = 8;
constexpr uint32_t RESOURCE_ALL = 0xFFFFFFFFu;

class YRenderResource {
public:
    // Type mask 0, empty name; appended to the registry. Subclasses set their type mask.
    YRenderResource();
    // Removed from the registry (the last entry takes its place). A subclass releases its device
    // objects in its own destructor.
    virtual ~YRenderResource();
    YRenderResource(const YRenderResource&) = delete;
    YRenderResource& operator=(const YRenderResource&) = delete;

    // Makes the device objects from the kept data.
    virtual void Restore() = 0;
    // Frees them.
    virtual void Release() = 0;

    uint32_t typeMask = 0;
    std::string name; // textures: the file name exactly as the caller gave it
};

// Every resource whose type mask shares a bit with `typeMask`, in registry order. A resource made
// meanwhile (by a Restore or Release) is visited too; one dropped meanwhile costs no other its
// visit.
void RestoreRenderResources(uint32_t typeMask);
void ReleaseRenderResources(uint32_t typeMask);

// The first registered resource of a matching type whose name equals `name` byte for byte.
YRenderResource* FindRenderResource(const std::string& name, uint32_t typeMask);

// The registry, in its current order (registration order, except that a removal moves the last
// entry into the freed place).
const std::vector<YRenderResource*>& RenderResources();
