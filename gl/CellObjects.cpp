#include "gl/CellObjects.h"

#include "collision/CollisionWorld.h"
#include "sim/ObjectShape.h"
#include "sim/Simulation.h"

#include <GL/gl.h>
#include <GL/glu.h>

namespace {

// Enough facets that a round object's silhouette looks round at the
// scene's distances: a facet lies at most 0.2 % of the radius inside.
constexpr int kSlices = 48;
constexpr int kStacks = 24;

// Six faces, each counter-clockwise seen from outside: on the face of
// normal +a, the corners run over the two other axes (b, c) in the order
// that turns from b to c.
void DrawBox(const double size[3])
{
    glBegin(GL_QUADS);
    for (int a = 0; a < 3; ++a) {
        const int b = (a + 1) % 3, c = (a + 2) % 3;
        for (const double side : {1.0, -1.0}) {
            double normal[3] = {0, 0, 0};
            normal[a] = side;
            glNormal3dv(normal);
            const double turn[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
            for (int i = 0; i < 4; ++i) {
                // The face of normal -a runs the other way round.
                const double* t = turn[side > 0 ? i : 3 - i];
                double corner[3];
                corner[a] = 0.5 * side * size[a];
                corner[b] = 0.5 * t[0] * size[b];
                corner[c] = 0.5 * t[1] * size[c];
                glVertex3dv(corner);
            }
        }
    }
    glEnd();
}

// Its axis its own z, centred: the side, then a disk at each end facing out.
void DrawCylinder(GLUquadric* quadric, double radius, double length)
{
    glPushMatrix();
    glTranslated(0.0, 0.0, -0.5 * length);
    gluCylinder(quadric, radius, radius, length, kSlices, 1);
    glPushMatrix();
    glRotated(180.0, 1.0, 0.0, 0.0);
    gluDisk(quadric, 0.0, radius, kSlices, 1);
    glPopMatrix();
    glTranslated(0.0, 0.0, length);
    gluDisk(quadric, 0.0, radius, kSlices, 1);
    glPopMatrix();
}

void DrawMesh(const MeshData& mesh)
{
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, mesh.vertices.data());
    // A mesh file always has a normal per vertex; one made otherwise may not.
    const bool normals = mesh.normals.size() == mesh.vertices.size();
    if (normals) {
        glEnableClientState(GL_NORMAL_ARRAY);
        glNormalPointer(GL_FLOAT, 0, mesh.normals.data());
    }
    // Every index was checked against the vertex count when it was defined.
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(mesh.indices.size()), GL_UNSIGNED_INT, mesh.indices.data());
    glDisableClientState(GL_VERTEX_ARRAY);
    if (normals)
        glDisableClientState(GL_NORMAL_ARRAY);
}

}  // namespace

CCellObjects::~CCellObjects()
{
    // Memory only: no GL call.
    if (m_pQuadric)
        gluDeleteQuadric(m_pQuadric);
}

bool CCellObjects::Init()
{
    m_pQuadric = gluNewQuadric();
    return m_pQuadric != nullptr;
}

void CCellObjects::Draw(const CSimulation& simulation, const CellContacts& contacts) const
{
    const CCollisionWorld* cell = simulation.Cell();
    if (!cell)
        return;
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT);
    GLfloat pass[4];
    glGetFloatv(GL_CURRENT_COLOR, pass);
    glDisable(GL_TEXTURE_2D);
    for (const std::string& name : cell->ObjectNames()) {
        const CellObject* object = cell->FindObject(name);
        if (!object || !simulation.ObjectShown(name))
            continue;
        float rgb[3] = {kContactRed[0], kContactRed[1], kContactRed[2]};
        if (!contacts.Touches(name))
            ParseColour(object->colour, rgb);
        glColor4f(rgb[0] * pass[0], rgb[1] * pass[1], rgb[2] * pass[2], pass[3]);
        const ObjectShape shape = ShapeOf(object->definition);
        glPushMatrix();
        glMultMatrixd(shape.frame.m);
        switch (shape.kind) {
        case ObjectKind::Box:
            DrawBox(shape.size);
            break;
        case ObjectKind::Cylinder:
            DrawCylinder(m_pQuadric, shape.size[0], shape.size[1]);
            break;
        case ObjectKind::Sphere:
            gluSphere(m_pQuadric, shape.size[0], kSlices, kStacks);
            break;
        case ObjectKind::Mesh:
            DrawMesh(*object->definition.mesh);
            break;
        }
        glPopMatrix();
    }
    // With GL_COLOR_MATERIAL on, glColor also set the material, which
    // popping the current colour does not bring back (CRobot::Draw).
    glColor4fv(pass);
    glPopAttrib();
}

std::vector<Point3> CCellObjects::Corners(const CSimulation& simulation)
{
    std::vector<Point3> corners;
    if (const CCollisionWorld* cell = simulation.Cell())
        for (const std::string& name : cell->ObjectNames())
            if (simulation.ObjectShown(name)) {
                const std::vector<Point3> its = ObjectCorners(cell->FindObject(name)->definition);
                corners.insert(corners.end(), its.begin(), its.end());
            }
    return corners;
}
