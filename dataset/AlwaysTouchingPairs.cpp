#include "dataset/AlwaysTouchingPairs.h"

#include "arm/LinkMeshFiles.h"
#include "collision/AlwaysTouching.h"
#include "collision/CollisionWorld.h"
#include "dataset/DataSet.h"

bool FindDataSetAlwaysTouching(const std::string& directory, CLinkPairs* pairs, std::string* reason)
{
    const DataSet data = LoadDataSet(directory);
    if (!data.arm) {
        if (reason)
            *reason = "robot.opt illisible dans " + directory;
        return false;
    }
    LinkMeshes meshes;
    if (!ReadLinkMeshes(*data.arm, directory, &meshes, reason))
        return false;
    *pairs = FindAlwaysTouching(CCollisionWorld(*data.arm, meshes.data()), data.arm->limits);
    return true;
}
