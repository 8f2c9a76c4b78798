#include "tools/arm/UrdfArm.h"

#include "base/Log.h"

#include <console_bridge/console.h>
#include <urdf_parser/urdf_parser.h>

#include <cstdlib>
#include <map>
#include <sys/stat.h>

namespace {

KDL::Frame FrameOf(const urdf::Pose& pose)
{
    const urdf::Rotation& r = pose.rotation;
    return KDL::Frame(KDL::Rotation::Quaternion(r.x, r.y, r.z, r.w),
                      KDL::Vector(pose.position.x, pose.position.y, pose.position.z));
}

bool IsFile(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string Parent(const std::string& dir)
{
    const std::size_t slash = dir.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : dir.substr(0, slash);
}

bool Moving(const urdf::Joint& joint)
{
    return joint.type != urdf::Joint::FIXED;
}

// The parser's own messages (English, on the console) are kept to be
// quoted in ours.
class CParserMessages : public console_bridge::OutputHandler {
public:
    void log(const std::string& text, console_bridge::LogLevel level, const char*, int) override
    {
        if (level >= console_bridge::CONSOLE_BRIDGE_LOG_ERROR && m_strFirst.empty())
            m_strFirst = text;
    }
    std::string m_strFirst;
};

// Walks the tree from the root: which body each link moves with and its
// frame in that body, and the chain's six joints. A link after a moving
// joint that is not the chain's next one (a gripper's finger, a second
// branch) is left out, with the reason in *ignored.
struct ChainWalk {
    ChainWalk(const std::string& f, UrdfArm& a) : file(f), arm(a) {}
    const std::string& file;
    UrdfArm& arm;
    int revolute = 0;
    std::string sixthLink;  // the link the sixth joint turns
    std::string ignored;
    bool failed = false;
    std::map<std::string, std::pair<int, KDL::Frame>> bodyOf;

    bool Fail(const std::string& reason)
    {
        LogError("ReadUrdfArm -- %s : %s", file.c_str(), reason.c_str());
        failed = true;
        return false;
    }

    // Whether a moving joint lies below this link.
    static bool MovesBelow(const urdf::Link& link)
    {
        for (const urdf::JointSharedPtr& joint : link.child_joints)
            if (Moving(*joint))
                return true;
        for (const urdf::LinkSharedPtr& child : link.child_links)
            if (MovesBelow(*child))
                return true;
        return false;
    }

    bool Visit(const urdf::Link& link, int body, const KDL::Frame& inBody)
    {
        bodyOf[link.name] = {body, inBody};
        int chainChildren = 0;
        for (const urdf::LinkSharedPtr& child : link.child_links)
            if (Moving(*child->parent_joint) || MovesBelow(*child))
                ++chainChildren;
        if (chainChildren > 1 && revolute < kArmJoints)
            return Fail("le lien « " + link.name +
                        " » porte plusieurs branches mobiles ; une seule chaîne de six "
                        "articulations est attendue");
        for (const urdf::LinkSharedPtr& child : link.child_links) {
            const urdf::Joint& joint = *child->parent_joint;
            const KDL::Frame origin = inBody * FrameOf(joint.parent_to_joint_origin_transform);
            if (!Moving(joint)) {
                if (!Visit(*child, body, origin))
                    return false;
                continue;
            }
            if (revolute == kArmJoints) {
                ignored += (ignored.empty() ? "" : ", ") + child->name;
                continue;
            }
            if (joint.type != urdf::Joint::REVOLUTE && joint.type != urdf::Joint::CONTINUOUS)
                return Fail("l'articulation « " + joint.name +
                            " » n'est pas rotative ; Kalimbrax attend six "
                            "articulations rotatives");
            if (joint.mimic)
                return Fail("l'articulation « " + joint.name +
                            " » en imite une autre ; Kalimbrax attend six "
                            "articulations indépendantes");
            SerialJoint& s = arm.chain.joints[revolute];
            s.name = joint.name;
            s.origin = origin;
            s.axis = KDL::Vector(joint.axis.x, joint.axis.y, joint.axis.z);
            if (s.axis.Normalize() == 0.0)
                return Fail("l'articulation « " + joint.name + " » a un axe nul");
            if (joint.type == urdf::Joint::CONTINUOUS || !joint.limits) {
                s.lower = -M_PI;
                s.upper = M_PI;
            } else {
                s.lower = joint.limits->lower;
                s.upper = joint.limits->upper;
            }
            s.velocity = joint.limits ? joint.limits->velocity : 0.0;
            if (++revolute == kArmJoints)
                sixthLink = child->name;
            if (!Visit(*child, revolute, KDL::Frame::Identity()))
                return false;
        }
        return true;
    }
};

}  // namespace

std::string ResolveMeshPath(const std::string& uri, const std::string& descriptionDir)
{
    static const std::string package = "package://", file = "file://";
    if (uri.compare(0, package.size(), package) == 0) {
        const std::string rest = uri.substr(package.size());
        const std::size_t slash = rest.find('/');
        if (slash == std::string::npos)
            return "";
        const std::string name = rest.substr(0, slash);
        for (std::string dir = descriptionDir;; dir = Parent(dir)) {
            // The package's folder itself, or a folder holding it.
            const std::size_t cut = dir.find_last_of('/');
            if (dir.substr(cut == std::string::npos ? 0 : cut + 1) == name && IsFile(dir + rest.substr(slash)))
                return dir + rest.substr(slash);
            if (IsFile(dir + "/" + rest))
                return dir + "/" + rest;
            if (dir == "/" || dir == ".")
                return "";
        }
    }
    std::string path = uri.compare(0, file.size(), file) == 0 ? uri.substr(file.size()) : uri;
    if (!path.empty() && path[0] != '/')
        path = descriptionDir + "/" + path;
    return IsFile(path) ? path : "";
}

bool ReadUrdfArm(const std::string& path, UrdfArm* arm)
{
    *arm = UrdfArm();
    CParserMessages messages;
    console_bridge::useOutputHandler(&messages);
    const urdf::ModelInterfaceSharedPtr model = urdf::parseURDFFile(path);
    console_bridge::restorePreviousOutputHandler();
    if (!model || !model->getRoot()) {
        LogError("ReadUrdfArm -- %s : description illisible%s%s", path.c_str(),
                 messages.m_strFirst.empty() ? "" : " : ", messages.m_strFirst.c_str());
        return false;
    }
    arm->name = model->getName();
    ChainWalk walk(path, *arm);
    if (!walk.Visit(*model->getRoot(), 0, KDL::Frame::Identity()))
        return false;
    if (walk.revolute < kArmJoints) {
        LogError("ReadUrdfArm -- %s : la chaîne depuis « %s » n'a que %d articulation(s) rotative(s) ; Kalimbrax en "
                 "attend six",
                 path.c_str(), model->getRoot()->name.c_str(), walk.revolute);
        return false;
    }
    if (!walk.ignored.empty())
        LogError("ReadUrdfArm -- %s : liens au-delà de la sixième articulation, mobiles, laissés de côté : %s",
                 path.c_str(), walk.ignored.c_str());

    // The flange: a link named flange, else tool0, fixed to the last body;
    // else the sixth joint's own link.
    arm->flangeLink = walk.sixthLink;
    for (const char* name : {"flange", "tool0"}) {
        const auto found = walk.bodyOf.find(name);
        if (found != walk.bodyOf.end() && found->second.first == kArmJoints) {
            arm->flangeLink = name;
            arm->chain.flange = found->second.second;
            break;
        }
    }

    // Absolute, so that the search for a package can climb above it.
    char* real = realpath(Parent(path).c_str(), nullptr);
    const std::string dir = real ? real : Parent(path);
    std::free(real);
    for (const auto& [linkName, place] : walk.bodyOf) {
        const urdf::LinkConstSharedPtr link = model->getLink(linkName);
        for (const urdf::VisualSharedPtr& visual : link->visual_array) {
            if (!visual || !visual->geometry)
                continue;
            if (visual->geometry->type != urdf::Geometry::MESH) {
                LogError("ReadUrdfArm -- %s : le lien « %s » a une forme simple (boîte, cylindre ou sphère) : seuls "
                         "les maillages sont importés, elle est laissée de côté",
                         path.c_str(), linkName.c_str());
                continue;
            }
            const urdf::Mesh& mesh = static_cast<const urdf::Mesh&>(*visual->geometry);
            LinkVisual v;
            v.body = place.first;
            v.link = linkName;
            v.place = place.second * FrameOf(visual->origin);
            v.meshFile = ResolveMeshPath(mesh.filename, dir);
            if (v.meshFile.empty()) {
                LogError("ReadUrdfArm -- %s : le maillage « %s » du lien « %s » est introuvable", path.c_str(),
                         mesh.filename.c_str(), linkName.c_str());
                return false;
            }
            v.scale[0] = mesh.scale.x;
            v.scale[1] = mesh.scale.y;
            v.scale[2] = mesh.scale.z;
            // A material named only by name is defined once for the whole
            // description.
            urdf::MaterialSharedPtr material = visual->material;
            if (!material && !visual->material_name.empty())
                material = model->getMaterial(visual->material_name);
            if (material && material->texture_filename.empty()) {
                v.coloured = true;
                v.rgba[0] = material->color.r;
                v.rgba[1] = material->color.g;
                v.rgba[2] = material->color.b;
                v.rgba[3] = material->color.a;
            }
            arm->visuals.push_back(v);
        }
    }
    return true;
}
