#pragma once
// Table materials: named shader lists for the table's models, read from "data\env.yml":
//   <pyramid name="marble" shader1="pyr1" ... shader10="border"/>   ten shaders appended
//   <environment name="..." shader="..."/>                           accepted and ignored
// Each "pyramid" tag appends its ten shaders (attribute defaults pyr1, pyr2, pyr2, pyr4, pyr5,
// pyr6, pyr7, pyr2, pyr9, border) to the material of that name, made on first sight, so a name
// given twice has twenty. The table gives the pyramid the whole list and the border the last
// shader. Materials are kept in order of first appearance and never removed.
#include <string>
#include <vector>

#include "core/xml_parser.h"

class YShader;

struct YTableMaterial {
    std::string name;
    std::vector<YShader*> shaders; // shared, not owned
};

class YTableMaterialLoader : public XMLParser {
public:
    explicit YTableMaterialLoader(std::vector<YTableMaterial>& materials);

protected:
    void OnTag(int id) override;
    // Logs "Table Marterial Loader error, <message>, line: <line>" and goes on.
    bool OnError(const char* message) override;

private:
    std::vector<YTableMaterial>& materials_;
};

// Reads the file into the global list (appending). A missing file is only logged by the parser.
void LoadTableMaterials(const char* path);
// The material of exactly that name, or null.
const YTableMaterial* FindTableMaterial(const std::string& name);
std::vector<YTableMaterial>& TableMaterials();
