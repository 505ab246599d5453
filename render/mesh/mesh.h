#pragma once
// Meshes: the shared description of one model, loaded once per file name and shared by every
// object that shows it. Each placed copy keeps its own vertex buffer; the mesh owns the one index
// buffer, made from its index list whenever the device is (re)created.
//
// A model exists as a text file ("mesh\ball2.mes") and as its binary cache, the same path ending
// in "meb", which the program writes the first time it imports the text and reads from then on.
// The cache carries no version: while it exists it is used, even when the text is newer; deleting
// it makes the next start import the text again.
#include <cstdint>
#include <string>
#include <vector>

#include "core/streams.h"
#include "render/mesh/mesh_data.h"
#include "render/render_resource.h"

class YMesh : public YRenderResource, public YMeshData {
public:
    // Type mask RESOURCE_MESH; enters the mesh cache.
    YMesh();
    // Leaves the mesh cache and drops the index buffer.
    ~YMesh() override;

    // Loads the model of `fileName` (see Load in mesh.cpp): the cache file when there is a usable
    // one, else the text file, whose import is then cached. Whatever fails is logged and leaves
    // the mesh empty; nothing here ends the program.
    void Load(const std::string& fileName);

    // With a renderer: the index buffer is made again from the index list.
    void Restore() override;
    // With a renderer: the index buffer is dropped.
    void Release() override;

    // Every vertex moves to s x its imported position (absolute: scaling twice keeps the last
    // factor). Normals, faces and the index buffer stay.
    virtual void Scale(float s);

    // The cache file's fields, under this mesh's name.
    void WriteBinary(OutStream& out) const;
    // Reads the cache file's fields; false (logged, mesh left empty) when the file is damaged.
    // The stored name is checked and dropped: the mesh keeps the name it was asked for by, which
    // is its key in the mesh cache.
    bool ReadBinary(InStream& in, const char* fileName);

    // The cache key: the file name given to Load. The registry name of the resource base stays
    // empty.
    std::string name;
    uint8_t loaded = 0;
};

// The mesh of that file name: found in the cache (exact, case-sensitive) or made and loaded.
// Never null; meshes live until the process ends.
YMesh* GetMesh(const std::string& name);

// Every mesh, in creation order, except that a destroyed mesh's place takes the last one.
const std::vector<YMesh*>& MeshCache();

// "mesh\ball2.mes" -> "mesh\ball2.meb": the name with its last three characters replaced, or ""
// for a name shorter than three characters.
std::string MeshTwinName(const std::string& fileName, const char* ending);
