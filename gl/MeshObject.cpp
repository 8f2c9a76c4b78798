#include "gl/MeshObject.h"

#include "base/Log.h"
#include "formats/MeshFormat.h"

#include <GL/gl.h>

#include <cstdio>
#include <utility>

bool CMeshObject::Load(const char* fileName)
{
    // A mesh loaded twice drops the first file's arrays before anything else,
    // so a failed second load leaves it empty rather than half old.
    m_Vertices = {};
    m_Normals = {};
    m_TexCoords = {};
    m_Indices = {};
    m_iVertexCount = 0;
    m_iTriangleCount = 0;
    m_bTextured = false;

    // The records keep the names they have always had in the error log.
    FILE* file = std::fopen(fileName, "rb");
    if (!file) {
        LogError("C3DSObject::LoadOBJ -- %s : Erreur à l'ouverture du fichier", fileName);
        return false;
    }
    MeshData mesh;
    MeshError error = MeshError::None;
    bool read = ReadMesh(file, mesh, &error);
    std::fclose(file);
    if (!read) {
        // The version record has always ended its own line.
        LogError(error == MeshError::BadVersion ? "C3DSObject::LoadOBJ -- %s : %s\n" : "C3DSObject::LoadOBJ -- %s : %s",
                 fileName, MeshErrorText(error));
        return false;
    }

    m_iVertexCount = mesh.VertexCount();
    m_iTriangleCount = mesh.TriangleCount();
    m_bTextured = mesh.textured;
    m_Vertices = std::move(mesh.vertices);
    m_Normals = std::move(mesh.normals);
    m_TexCoords = std::move(mesh.texCoords);
    m_Indices = std::move(mesh.indices);
    return true;
}

void CMeshObject::Draw()
{
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    if (m_bTextured)
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    else
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);

    glVertexPointer(3, GL_FLOAT, 0, m_Vertices.data());
    glNormalPointer(GL_FLOAT, 0, m_Normals.data());
    if (m_bTextured)
        glTexCoordPointer(2, GL_FLOAT, 0, m_TexCoords.data());

    // Every index was checked against the vertex count when the file was read.
    glDrawElements(GL_TRIANGLES, 3 * m_iTriangleCount, GL_UNSIGNED_INT, m_Indices.data());

    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
}
