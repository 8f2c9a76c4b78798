#include "tools/mesh/ObjExport.h"

#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <vector>

namespace {

std::string Format(const char* format, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// Other spellings of the same float, tried when "%.9g" does not read back.
// The import library's reader computes an exponent as a float power of ten
// and sums the integer and fraction parts in float, so an "e-08" value may
// land one step away; more digits, or a mantissa a few steps away paired with
// another exponent, usually land exactly.
std::vector<std::string> Alternatives(float value)
{
    std::vector<std::string> texts;
    for (int digits = 10; digits <= 17; ++digits)
        texts.push_back(Format(("%." + std::to_string(digits) + "g").c_str(), value));
    const int exponent = static_cast<int>(std::floor(std::log10(std::fabs(double(value)))));
    for (int e = exponent - 2; e <= exponent + 2; ++e) {
        float mantissa = static_cast<float>(double(value) / std::pow(10.0, e));
        for (int step = 0; step < 8; ++step)
            mantissa = std::nextafter(mantissa, -INFINITY);
        for (int step = -8; step <= 8; ++step, mantissa = std::nextafter(mantissa, INFINITY))
            texts.push_back(Format("%.9g", mantissa) + "e" + std::to_string(e));
    }
    return texts;
}

// Reads the numbers back with the import library's Wavefront reader: the
// only way to know what it makes of them. Each number is the x of a vertex of
// its own, every vertex used by a triangle (unused ones would be dropped).
bool ReadBack(const std::vector<std::string>& texts, std::vector<float>& values)
{
    std::string obj;
    std::size_t count = texts.size();
    while (count % 3)
        ++count;
    for (std::size_t i = 0; i < count; ++i)
        obj += "v " + (i < texts.size() ? texts[i] : std::string("0")) + " 0 0\n";
    for (std::size_t i = 0; i < count; i += 3)
        obj += "f " + std::to_string(i + 1) + " " + std::to_string(i + 2) + " " + std::to_string(i + 3) + "\n";
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFileFromMemory(obj.data(), obj.size(), 0, "obj");
    if (!scene || scene->mNumMeshes != 1 || scene->mMeshes[0]->mNumVertices != count)
        return false;
    values.resize(texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i)
        values[i] = scene->mMeshes[0]->mVertices[i].x;
    return true;
}

bool SameBits(float a, float b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

std::uint32_t Bits(float f)
{
    std::uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    return bits;
}

// The text of every distinct value of the mesh.
bool Spell(const MeshData& mesh, std::map<std::uint32_t, std::string>& spelling, ExportNotes& notes)
{
    std::vector<float> distinct;
    for (const std::vector<float>* block : {&mesh.vertices, &mesh.normals, &mesh.texCoords})
        for (float f : *block)
            if (spelling.emplace(Bits(f), std::string()).second)
                distinct.push_back(f);
    std::vector<std::string> texts;
    for (float f : distinct)
        texts.push_back(Format("%.9g", f));
    std::vector<float> back;
    if (!ReadBack(texts, back))
        return false;

    std::vector<float> pending;
    std::vector<std::string> candidates;
    std::vector<std::size_t> firstCandidate;
    for (std::size_t i = 0; i < distinct.size(); ++i) {
        spelling[Bits(distinct[i])] = texts[i];
        if (SameBits(back[i], distinct[i]) || !std::isfinite(distinct[i]))
            continue;
        pending.push_back(distinct[i]);
        firstCandidate.push_back(candidates.size());
        for (std::string& text : Alternatives(distinct[i]))
            candidates.push_back(std::move(text));
    }
    if (pending.empty())
        return true;
    firstCandidate.push_back(candidates.size());
    if (!ReadBack(candidates, back))
        return false;
    for (std::size_t p = 0; p < pending.size(); ++p) {
        bool found = false;
        for (std::size_t c = firstCandidate[p]; c < firstCandidate[p + 1] && !found; ++c) {
            if (SameBits(back[c], pending[p])) {
                spelling[Bits(pending[p])] = candidates[c];
                found = true;
            }
        }
        if (!found)
            ++notes.inexactNumbers;  // keeps "%.9g", exact for any correct reader
    }
    return true;
}

}  // namespace

bool ExportObj(const MeshData& mesh, const char* output, ExportNotes& notes, std::string& error)
{
    notes = ExportNotes();
    std::map<std::uint32_t, std::string> spelling;
    if (!Spell(mesh, spelling, notes)) {
        error = "la bibliothèque d'import ne relit pas les nombres écrits";
        return false;
    }
    auto text = [&spelling](float f) -> const std::string& { return spelling[Bits(f)]; };

    const std::string temporary = std::string(output) + ".tmp";
    FILE* file = std::fopen(temporary.c_str(), "w");
    if (!file) {
        error = std::string("impossible de créer ") + temporary + " : " + std::strerror(errno);
        return false;
    }
    const int v = mesh.VertexCount();
    std::fprintf(file, "# Copie d'un maillage Kalimbrax : %d sommets, %d triangles\n", v, mesh.TriangleCount());
    std::fprintf(file, "o kalimbrax\n");
    for (int i = 0; i < v; ++i)
        std::fprintf(file, "v %s %s %s\n", text(mesh.vertices[3 * i]).c_str(), text(mesh.vertices[3 * i + 1]).c_str(),
                     text(mesh.vertices[3 * i + 2]).c_str());
    for (int i = 0; i < v; ++i)
        std::fprintf(file, "vn %s %s %s\n", text(mesh.normals[3 * i]).c_str(), text(mesh.normals[3 * i + 1]).c_str(),
                     text(mesh.normals[3 * i + 2]).c_str());
    if (mesh.textured)
        for (int i = 0; i < v; ++i)
            std::fprintf(file, "vt %s %s\n", text(mesh.texCoords[2 * i]).c_str(),
                         text(mesh.texCoords[2 * i + 1]).c_str());
    // One vertex of ours is one position, normal and coordinate pair: the
    // three numbers of every corner are the same.
    for (std::size_t t = 0; t + 2 < mesh.indices.size(); t += 3) {
        std::fputc('f', file);
        for (int k = 0; k < 3; ++k) {
            const unsigned n = mesh.indices[t + k] + 1;
            if (mesh.textured)
                std::fprintf(file, " %u/%u/%u", n, n, n);
            else
                std::fprintf(file, " %u//%u", n, n);
        }
        std::fputc('\n', file);
    }
    const bool written = !std::ferror(file);
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed || std::rename(temporary.c_str(), output) != 0) {
        error = std::string("écriture impossible de ") + output + " : " + std::strerror(errno);
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}
