// Writes the seed corpora of the fuzz targets: small valid files and the
// edge cases the readers must handle, one file each, into
// <directory>/<target>/. Run once and commit the result:
//   kalimbrax-fuzz-corpus tests/fuzz/corpus
// Meshes come from the real encoder, images from the real writer, so the
// seeds follow the formats as this program writes them.
#include "formats/MeshFormat.h"
#include "formats/TgaImage.h"
#include "tests/support/TestBytes.h"

#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::string g_Root;
int g_Failures = 0;

void Write(const std::string& target, const std::string& name, const Bytes& bytes)
{
    const std::string dir = g_Root + "/" + target;
    mkdir(g_Root.c_str(), 0755);
    mkdir(dir.c_str(), 0755);
    std::ofstream out(dir + "/" + name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        std::fprintf(stderr, "impossible d'écrire %s/%s\n", dir.c_str(), name.c_str());
        ++g_Failures;
    }
}

void WriteText(const std::string& target, const std::string& name, const std::string& text)
{
    Write(target, name, Bytes(text.begin(), text.end()));
}

void OptionSeeds()
{
    const char* const t = "options";
    WriteText(t, "graphics",
              "// fenêtre\niScreenWidth = 800;\niScreenHeight = 600;\ndScreenFOV = -45.0;\n"
              "bDoubleBuffer = true;\nsWindowName = \"Kalimbrax ver 0.alpha\";\n");
    WriteText(t, "robot",
              "fAngle12MaxSpeed = 30.0; strTextureFileName = \"metal.tga\";\n"
              "fBodySizeZ = 4.0; fShoulderSizeX = 0.5; strHandFileObj = \"robothand.obj\";\r\n");
    WriteText(t, "no-blanks", "a=1;b=-.5;c=.5;d=TRUE;e=yes;");
    WriteText(t, "numbers", "h = 0x1F; o = 010; x = 12abc; e = 1e3; r = 1.5e300; n = -; m = -x; big = 99999999999;\n");
    WriteText(t, "quoted", "s = \"a ; b = c // d\nsuite\"; t = \"\";\n");
    WriteText(t, "comments", "/* bloc\n ** */ a = 1; // fin\n/***/ b = 2; /x c = 3;");
    WriteText(t, "comment-at-end", "a = 1; // pas de fin de ligne");
    WriteText(t, "word-terminator", "a = 1 x");
    WriteText(t, "duplicates", "a = 1; a = 2; A = 3;");
    WriteText(t, "missing-semicolon", "a = 1");
    WriteText(t, "double-semicolon", "a = 1;;");
    WriteText(t, "unterminated-quote", "s = \"jamais fermé");
    WriteText(t, "unterminated-comment", "a = 1; /* jamais fermé");
    WriteText(t, "empty", "");
    WriteText(t, "long-token", "s = \"" + std::string(2046, 'x') + "\"; w = " + std::string(2048, 'y') + ";");
    WriteText(t, "long-comment", "a = 1; //" + std::string(2048, 'c') + "\nb = 2;");
    WriteText(t, "nul-byte", std::string("a = 1;\0b = 2;", 13));
}

Bytes ReadFile(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void TgaSeeds()
{
    const char* const t = "tga";
    // One image through the real writer.
    CTgaImage image;
    image.width = 5;
    image.height = 3;
    image.bitsPerPixel = 24;
    image.pixels.reset(new unsigned char[5 * 3 * 3]);
    const Bytes ramp = Ramp(5 * 3 * 3);
    std::copy(ramp.begin(), ramp.end(), image.pixels.get());
    const std::string saved = g_Root + "/.saved.tga";
    if (CTgaImage::TgaImageSave(saved.c_str(), &image)) {
        Write(t, "saved-24bit", ReadFile(saved));
        std::remove(saved.c_str());
    } else {
        ++g_Failures;
    }
    Write(t, "32bit", TgaFile(2, 2, 32, Ramp(16)));
    Write(t, "image-id", TgaFile(3, 1, 24, Ramp(9), 2, {'k', 'x', '!', 0, 9}));
    Write(t, "pixels-cut-short", TgaFile(4, 4, 24, Ramp(10)));
    Write(t, "no-pixels", TgaFile(8, 8, 32, {}));
    Write(t, "zero-size", TgaFile(0, 7, 24, {}));
    Write(t, "rle-type-10", TgaFile(2, 1, 24, Ramp(6), 10));
    Write(t, "colour-mapped", TgaFile(2, 1, 24, Ramp(6), 1));
    Write(t, "16bit", TgaFile(2, 1, 16, Ramp(4)));
    Write(t, "header-cut", Prefix(TgaFile(2, 1, 24, Ramp(6)), 15));
    Write(t, "id-cut", Prefix(TgaFile(2, 1, 24, {}, 2, Ramp(40)), 30));
    Write(t, "huge-header", TgaFile(65535, 65535, 32, Ramp(8)));
    Write(t, "one-gigabyte", TgaFile(16384, 16384, 32, Ramp(8)));
}

MeshData Tetrahedron(int version, bool textured)
{
    MeshData m;
    m.version = version;
    m.textured = textured;
    m.vertices = {0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1};
    m.normals = {0, 0, -1, 1, 0, 0, 0, 1, 0, 0, 0, 1};
    if (textured)
        m.texCoords = {0, 0, 1, 0, 0, 1, 0.5f, 0.5f};
    m.indices = {0, 2, 1, 0, 1, 3, 0, 3, 2, 1, 2, 3};
    return m;
}

Bytes Encoded(const MeshData& mesh)
{
    Bytes out;
    if (!EncodeMesh(mesh, out))
        ++g_Failures;
    return out;
}

void MeshSeeds()
{
    const char* const t = "mesh";
    const Bytes plain = Encoded(Tetrahedron(12, false));
    Write(t, "v12", plain);
    Write(t, "v21-textured", Encoded(Tetrahedron(21, true)));
    MeshData empty;
    Write(t, "no-triangles", Encoded(empty));
    // Header of 10 bytes: three surplus bytes before the vertex block.
    Bytes longHeader = plain;
    longHeader[0] = 10;
    longHeader.insert(longHeader.begin() + 7, {0xAA, 0xBB, 0xCC});
    Write(t, "long-header", longHeader);
    Bytes flag = Encoded(Tetrahedron(12, true));
    flag[6] = 255;
    Write(t, "texture-flag-255", flag);
    Bytes shortHeader = plain;
    shortHeader[0] = 3;
    Write(t, "header-too-short", shortHeader);
    Bytes badVersion = plain;
    badVersion[1] = 13;
    Write(t, "bad-version", badVersion);
    Write(t, "truncated", Prefix(plain, plain.size() - 5));
    Bytes badIndex = plain;
    badIndex[badIndex.size() - 4] = 4;  // last index: vertex 4 of 4
    Write(t, "index-out-of-range", badIndex);
    Write(t, "huge-counts", Bytes{7, 12, 0xFF, 0xFF, 0xFF, 0xFF, 1, 0, 0, 0, 0});
    Bytes trailing = plain;
    trailing.insert(trailing.end(), {1, 2, 3});
    Write(t, "trailing-bytes", trailing);
}

void KinSeeds()
{
    // First byte: its two low bits pick mgd ('0'), mgi --grid ('1'),
    // --exact ('2') or --all ('3'); then the lines of the batch.
    const char* const t = "kin";
    WriteText(t, "mgd", "0 0 0 0 0 0\n10 20 30 40 50 60\n");
    WriteText(t, "mgi", "1500 0 300 0 0 0\n-200.5 300 700 10 20 90\n");
    WriteText(t, "mgi-exact", "2500 0 300 0 0 0\n0 0 450 0 0 180\n5000 0 0 0 0 0\n");
    WriteText(t, "mgi-all", "3872.419128 153.831039 309.794769 35.479847 -130.347763 131.227371\n100 0 400 0 0 0\n");
    WriteText(t, "comments", "0# commentaire\n\n   \t\n1 2 3 4 5 6 # pas un commentaire\n");
    WriteText(t, "unusual-numbers", "0nan inf -inf 1e40 -0 0x1p3\n");
    WriteText(t, "mgi-unusual", "1nan inf -inf 1e40 -0 0x1p3\n1e-45 -1e-45 3.4e38 0 0 180\n");
    WriteText(t, "wrong-counts", "01 2 3 4 5\n1 2 3 4 5 6 7\n1,2,3,4,5,6\n3x 1 1 1 1 1\n");
    WriteText(t, "crlf-no-final-newline", "010 10 10 10 10 10\r\n20 20 20 20 20 20");
    Write(t, "nul-byte", Bytes{'0', '1', ' ', '2', 0, '3', ' ', '4', ' ', '5', ' ', '6', '\n'});
}

void CommandSeeds()
{
    // One line of the command language per file, and a few lines at once.
    const char* const t = "command";
    const char* const lines[][2] = {
        {"angles", "angles 10 20 30 40 50 60"},
        {"pose", "pose 872,4 153.8 309.79 95 -114.9 175.8"},
        {"moveto", "moveto -25 45 15 0 60 0\r\n"},
        {"get", "get pose"},
        {"show", "show wireframe on"},
        {"screenshot", "screenshot vue-1_a.png"},
        {"bad-name", "screenshot ../../etc/x.png"},
        {"numbers", "mgd 0x1p3 -0 1e-45 3.4e38 1e39 nan"},
        {"counts", "target 1 2 3"},
        {"comment", "  # go"},
        {"camera", "camera reset now"},
        {"unknown", "\xc3\xa9t\xc3\xa9 1 2"},
        {"jog", "jog tool rz -2,5"},
    };
    for (const auto& line : lines)
        WriteText(t, line[0], line[1]);
    WriteText(t, "several", "go\nwait\n\nexit\nstop\n");
    WriteText(t, "program",
              "frame f1 300 -200 150 30 60 45\nframe use f1\ntool 0 0 100 0 0 0\npoint P1\n"
              "movel @P1 600 0 500 0 90 0 @P1 blend 20\nmovec @P1 1 2 3 4 5 6\ncheck movej @P1\n");
    // Framing: a line of exactly the limit in CR LF, one past it among
    // others, a byte-order mark, bytes that are not UTF-8.
    WriteText(t, "long-lines", std::string(4096, 'x') + "\r\ngo\n" + std::string(5000, 'y') + "\nstop\n");
    WriteText(t, "bom", "\xef\xbb\xbfget angles\n");
    WriteText(t, "bad-utf8", "\xc0\xaf \xed\xa0\x80 \xf4\x90\x80\x80\nangles 1 2 3 4 5 \xe0\x80\xaf\n");
    Write(t, "nul-byte", Bytes{'g', 'e', 't', ' ', 0, 'p', 'o', 's', 'e', '\n'});
}

// A six-joint arm of the family (the shape of an ABB IRB 1600) in URDF,
// with `extra` before the robot's end and `visuals` in each link.
std::string UrdfArm(const std::string& extra, bool visuals)
{
    static const char* const joints[6][4] = {
        {"0 0 0", "0 0 1", "-3.14", "3.14"},    {"0.15 0 0.4865", "0 1 0", "-1.1", "1.92"},
        {"0 0 0.475", "0 1 0", "-4.1", "0.96"}, {"0.3 0 0", "1 0 0", "-3.49", "3.49"},
        {"0.3 0 0", "0 1 0", "-2", "2"},        {"0.065 0 0", "1 0 0", "-6.98", "6.98"}};
    std::string text = "<?xml version=\"1.0\"?>\n<robot name=\"seed\">\n"
                       "<material name=\"orange\"><color rgba=\"1 0.43 0 1\"/></material>\n";
    for (int i = 0; i <= 6; ++i) {
        const std::string link = i == 0 ? "base_link" : "link_" + std::to_string(i);
        text += "<link name=\"" + link + "\">";
        if (visuals)
            text += "<visual><origin xyz=\"0 0 0\" rpy=\"0 0 0\"/><geometry><mesh filename=\"package://seed/meshes/" +
                    link + ".stl\" scale=\"1 1 1\"/></geometry><material name=\"orange\"/></visual>";
        text += "</link>\n";
    }
    for (int j = 0; j < 6; ++j)
        text += "<joint name=\"joint_" + std::to_string(j + 1) + "\" type=\"revolute\"><origin xyz=\"" + joints[j][0] +
                "\" rpy=\"0 0 0\"/><parent link=\"" +
                (j == 0 ? std::string("base_link") : "link_" + std::to_string(j)) + "\"/><child link=\"link_" +
                std::to_string(j + 1) + "\"/><axis xyz=\"" + joints[j][1] + "\"/><limit lower=\"" + joints[j][2] +
                "\" upper=\"" + joints[j][3] + "\" effort=\"0\" velocity=\"2.5\"/></joint>\n";
    return text +
           "<link name=\"flange\"/><joint name=\"to_flange\" type=\"fixed\"><parent link=\"link_6\"/><child "
           "link=\"flange\"/></joint>\n" +
           extra + "</robot>\n";
}

void UrdfSeeds()
{
    const char* const t = "urdf";
    WriteText(t, "arm", UrdfArm("", true));
    WriteText(t, "arm-without-visuals", UrdfArm("", false));
    WriteText(t, "gripper",
              UrdfArm("<link name=\"finger\"/><joint name=\"grip\" type=\"prismatic\"><parent link=\"flange\"/>"
                      "<child link=\"finger\"/><axis xyz=\"1 0 0\"/><limit lower=\"0\" upper=\"0.05\" effort=\"1\" "
                      "velocity=\"1\"/></joint>\n",
                      false));
    WriteText(t, "tool0-continuous-mimic",
              UrdfArm("<link name=\"tool0\"/><joint name=\"t\" type=\"fixed\"><origin xyz=\"0 0 0.1\" rpy=\"0 1.57 "
                      "0\"/><parent link=\"flange\"/><child link=\"tool0\"/></joint>\n<link name=\"c\"/><joint "
                      "name=\"spin\" type=\"continuous\"><parent link=\"tool0\"/><child link=\"c\"/><axis xyz=\"0 0 "
                      "1\"/><mimic joint=\"joint_6\"/></joint>\n",
                      false));
    WriteText(t, "two-parents",
              UrdfArm("<joint name=\"back\" type=\"fixed\"><parent link=\"link_6\"/><child link=\"link_2\"/></joint>\n",
                      false));
    WriteText(t, "loop-apart",
              UrdfArm("<link name=\"x\"/><link name=\"y\"/><joint name=\"jx\" type=\"fixed\"><parent link=\"x\"/>"
                      "<child link=\"y\"/></joint><joint name=\"jy\" type=\"fixed\"><parent link=\"y\"/><child "
                      "link=\"x\"/></joint>\n",
                      false));
    std::string chain;
    for (int i = 1; i <= 20; ++i)
        chain += "<link name=\"f" + std::to_string(i) + "\"/><joint name=\"g" + std::to_string(i) +
                 "\" type=\"fixed\"><parent link=\"" + (i == 1 ? std::string("flange") : "f" + std::to_string(i - 1)) +
                 "\"/><child link=\"f" + std::to_string(i) + "\"/></joint>\n";
    WriteText(t, "fixed-chain", UrdfArm(chain, false));
    std::string deep;
    for (int i = 0; i < 101; ++i)
        deep += "<a>";
    for (int i = 0; i < 101; ++i)
        deep += "</a>";
    WriteText(t, "nested-101", UrdfArm(deep, false));
    WriteText(t, "comments-cdata-pi",
              "<?xml version=\"1.0\"?><!DOCTYPE robot><robot name=\"c\"><!-- <link name=\"hidden\"> -->"
              "<link name=\"a\"><![CDATA[<b><c>]]></link><?pi x?><link name=\"b\"/><joint name=\"j\" "
              "type=\"revolute\"><parent link=\"a\"/><child link=\"b\"/><axis xyz=\"0 0 1\"/><limit "
              "lower=\"-1\" upper=\"1\" effort=\"0\" velocity=\"1\"/></joint></robot>\n");
    WriteText(t, "huge-numbers",
              "<robot name=\"h\"><link name=\"a\"/><link name=\"b\"/><joint name=\"j\" type=\"revolute\"><origin "
              "xyz=\"1e300 0 0\" rpy=\"1e300 0 0\"/><parent link=\"a\"/><child link=\"b\"/><axis xyz=\"0 0 "
              "1e-300\"/><limit lower=\"-5e8\" upper=\"5e8\" effort=\"0\" velocity=\"1e308\"/></joint></robot>\n");
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage : kalimbrax-fuzz-corpus RÉPERTOIRE\n");
        return 2;
    }
    g_Root = argv[1];
    OptionSeeds();
    TgaSeeds();
    MeshSeeds();
    KinSeeds();
    CommandSeeds();
    UrdfSeeds();
    return g_Failures == 0 ? 0 : 1;
}
