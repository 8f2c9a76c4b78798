// The list of live drawable objects: what a scene puts in it, in which
// order, and what leaves it.

#include "app/BaseObject.h"
#include "scene/MainScene.h"

#include <gtest/gtest.h>

#include <iterator>
#include <memory>
#include <vector>

namespace {

struct Plain : CBaseObject {
    void Draw() override {}
};

std::vector<CBaseObject*> Listed()
{
    return {g_ObjectList.objects.begin(), g_ObjectList.objects.end()};
}

TEST(ObjectRegistry, SceneObjectsAreListedInConstructionOrder)
{
    const std::size_t before = g_ObjectList.objects.size();
    auto scene = std::make_unique<CMainScene>();
    std::vector<CBaseObject*> expected = {&scene->m_Decoration, &scene->m_Decoration.m_SkyDome,
                                          &scene->m_Decoration.m_Ground, &scene->m_Robot};
    for (CRobotPart& part : scene->m_Robot.m_Parts)
        expected.push_back(&part);
    expected.push_back(&scene->m_Robot.m_Axes);

    std::vector<CBaseObject*> listed = Listed();
    ASSERT_EQ(listed.size(), before + expected.size());
    EXPECT_EQ(std::vector<CBaseObject*>(listed.begin() + before, listed.end()), expected);
    EXPECT_EQ(g_ObjectList.count, static_cast<int>(listed.size()));
    for (CBaseObject* object : expected)
        EXPECT_EQ(object->m_sName, "dummy");

    scene.reset();
    EXPECT_EQ(g_ObjectList.objects.size(), before) << "destroyed objects leave the list";
    EXPECT_EQ(g_ObjectList.count, static_cast<int>(before));
}

TEST(ObjectRegistry, DestroyingAnUnlistedObjectChangesNothing)
{
    auto a = std::make_unique<Plain>();
    auto b = std::make_unique<Plain>();
    g_ObjectList.objects.remove(a.get());  // as if it had never been listed
    --g_ObjectList.count;
    const std::vector<CBaseObject*> listed = Listed();
    const int count = g_ObjectList.count;
    a.reset();
    EXPECT_EQ(Listed(), listed);
    EXPECT_EQ(g_ObjectList.count, count);
}

TEST(ObjectRegistry, InitResults)
{
    Plain plain;
    CAxes axes;
    EXPECT_FALSE(plain.Init());
    EXPECT_TRUE(axes.Init());
}

}  // namespace
