#include "engine/scene.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "common/assertion.h"
#include "engine/image.h"

struct Scene {
    Camera *camera;
    Color bgcolor;
    Image *bgimg;
    Material mat_tbl[MAX_MATERIALS];
    int mat_tbl_size;
    Object *obj_tbl[MAX_OBJECTS];
    int obj_tbl_size;
    Light light_tbl[MAX_LIGHTS];
    int light_tbl_size;
    // The files the scene was read from, named as they were opened: the
    // description first, then every image file the reader opened for it.
    std::vector<std::string> sources;
};

// Size of the category loop's name buffer.
static const int NAME_SIZE = 512;

// The folder (with its final "/") of the scene file being read, so that the
// scene's own images load wherever the program was started. Empty outside
// sceReadFile and for a file named without a folder.
static std::string sceneFolder;

// Where the image files opened for the scene being read are noted; none
// outside sceReadFile.
static std::vector<std::string> *sceneSources = nullptr;

// Blank, tab, line feed, vertical tab, form feed, carriage return. Bytes above
// 127 are never white space, whatever the locale.
static bool isWhite(int c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

static bool isLetter(int c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

static char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Skips white space and leaves the stream at the next character (or its end).
static void skipWhite(std::FILE *fp)
{
    int c;
    do
        c = std::getc(fp);
    while (c != EOF && isWhite(c));
    if (c != EOF)
        std::ungetc(c, fp);
}

// Skips everything up to the next "#", which stays unread. Returns whether
// anything other than white space was skipped.
static bool skipToHeader(std::FILE *fp)
{
    bool text = false;
    int c;
    while ((c = std::getc(fp)) != EOF && c != '#')
        if (!isWhite(c))
            text = true;
    if (c != EOF)
        std::ungetc(c, fp);
    return text;
}

// One whole line, its "\n" included when there is one; false when the stream
// is already at its end. Lines have no length limit.
static bool readLine(std::FILE *fp, std::string &line)
{
    line.clear();
    int c = std::getc(fp);
    if (c == EOF)
        return false;
    while (c != EOF) {
        line += static_cast<char>(c);
        if (c == '\n')
            break;
        c = std::getc(fp);
    }
    return true;
}

// A run of non-white characters after any white space; false at the end.
static bool readWord(std::FILE *fp, std::string &word)
{
    word.clear();
    skipWhite(fp);
    int c = std::getc(fp);
    if (c == EOF)
        return false;
    while (c != EOF && !isWhite(c)) {
        word += static_cast<char>(c);
        c = std::getc(fp);
    }
    if (c != EOF)
        std::ungetc(c, fp);
    return true;
}

std::string sceReadFileName(std::FILE *fp)
{
    skipWhite(fp);
    int c = std::getc(fp);
    if (c == EOF)
        return "null";
    std::ungetc(c, fp);
    if (c == '#')
        return "null";
    std::string word;
    readWord(fp, word);
    return word;
}

static bool canOpen(const std::string &name)
{
    std::FILE *fp = std::fopen(name.c_str(), "rb");
    if (fp == nullptr)
        return false;
    std::fclose(fp);
    return true;
}

Image *sceReadImage(const char *name)
{
    // When neither name opens, the image reader reports the name as the file
    // wrote it.
    std::string path = name;
    if (name[0] != '/' && !sceneFolder.empty() && !canOpen(path)) {
        std::string beside = sceneFolder + name;
        if (canOpen(beside))
            path = beside;
    }
    // A file that opens is one the scene being read was read from.
    if (sceneSources != nullptr && canOpen(path))
        sceneSources->push_back(path);
    return imgReadPPM(path.c_str());
}

std::FILE *scePreprocess(std::FILE *src)
{
    std::string word;
    if (!readWord(src, word) || word != "GSD") {
        std::fclose(src);
        return nullptr;
    }
    if (!readWord(src, word) || word != "2.0") {
        std::fclose(src);
        return nullptr;
    }
    std::FILE *tmp = std::tmpfile();
    if (tmp == nullptr) {
        std::fclose(src);
        return nullptr;
    }
    std::string line;
    while (readLine(src, line)) {
        // A comment runs from the first "!" to the true end of the line; the
        // white space before it goes with it.
        std::string::size_type bang = line.find('!');
        if (bang != std::string::npos) {
            std::string::size_type end = bang;
            while (end > 0 && isWhite(static_cast<unsigned char>(line[end - 1])))
                end--;
            line.resize(end);
        }
        std::fwrite(line.data(), 1, line.size(), tmp);
        if (line.empty() || line.back() != '\n')
            std::fputc('\n', tmp);
    }
    // A copy cut short by a read or write error would be taken for the whole
    // scene: refuse it instead.
    bool failed = std::ferror(src) != 0;
    std::fclose(src);
    if (std::fflush(tmp) != 0 || std::ferror(tmp) || failed) {
        std::fclose(tmp);
        return nullptr;
    }
    std::rewind(tmp);
    return tmp;
}

int sceReadCategory(std::FILE *fp, char *name, int size)
{
    GLINT_ASSERT(name != nullptr);
    GLINT_ASSERT(size > 0);
    skipWhite(fp);
    int c = std::getc(fp);
    if (c == EOF)
        return 0;
    if (c != '#') {
        std::ungetc(c, fp);
        return 0;
    }
    std::string line;
    if (!readLine(fp, line))
        return 0;
    // The name runs to the line end ("\n" or "\r") and must be letters only.
    // A line that breaks the rule is kept whole, line end included, with its
    // letters up to the first non-letter upper-cased.
    bool valid = true;
    std::string::size_type end = 0;
    while (end < line.size() && line[end] != '\n' && line[end] != '\r') {
        if (!isLetter(static_cast<unsigned char>(line[end]))) {
            valid = false;
            break;
        }
        line[end] = upper(line[end]);
        end++;
    }
    if (valid)
        line.resize(end);
    // A name too long for the buffer cannot be a category: the buffer gets
    // what fits and the header counts as invalid.
    std::string::size_type room = static_cast<std::string::size_type>(size - 1);
    if (line.size() > room) {
        valid = false;
        line.resize(room);
    }
    std::memcpy(name, line.data(), line.size());
    name[line.size()] = '\0';
    return valid ? 1 : 0;
}

int sceNextCategory(std::FILE *fp, char *name, int size)
{
    int c;
    while ((c = std::getc(fp)) != EOF && c != '#') {
    }
    if (c == EOF)
        return 0;
    std::ungetc(c, fp);
    return sceReadCategory(fp, name, size);
}

// ---- the category loop ----

enum Category { CAT_CAMERA, CAT_SCENE, CAT_MATERIAL, CAT_LIGHT, CAT_SPHERE, CAT_TRIANGLE, CAT_BOX,
                CAT_UNKNOWN };

static Category categoryOf(const char *name)
{
    static const char *const names[] = {"CAMERA", "SCENE", "MATERIAL", "LIGHT",
                                        "SPHERE", "TRIANGLE", "BOX"};
    for (int i = 0; i < CAT_UNKNOWN; i++)
        if (std::strcmp(name, names[i]) == 0)
            return static_cast<Category>(i);
    return CAT_UNKNOWN;
}

static void reportLimit(const char *name, int limit, const char *what)
{
    std::printf("\n[%s:%d] skipping category '#%s': a scene holds at most %d %s\n", __FILE__,
                __LINE__, name, limit, what);
}

// A body that consumed nothing but white space would be read again at the
// same place for ever, and one whose numbers did not convert holds no item:
// either is reported and reading moves on to the next header.
static void skipUnreadBody(std::FILE *fp, const char *name)
{
    std::printf("\n[%s:%d] skipping category '#%s': its body could not be read\n", __FILE__,
                __LINE__, name);
    skipToHeader(fp);
}

// Whether the body reader consumed text since the position before.
static bool consumed(std::FILE *fp, long before) { return std::ftell(fp) != before; }

static void readCamera(Scene *scene, std::FILE *fp, long before, const char *name)
{
    Camera *camera = camRead(fp);
    if (!consumed(fp, before) || camera == nullptr) {
        if (camera != nullptr)
            camDestroy(camera);
        skipUnreadBody(fp, name);
    } else if (scene->camera != nullptr) {
        camDestroy(camera);
        reportLimit(name, 1, "camera");
    } else {
        scene->camera = camera;
    }
}

static void readBackground(Scene *scene, std::FILE *fp, long before, const char *name)
{
    Color color = colRead(fp);
    std::string file = sceReadFileName(fp);
    Image *image = file == "null" ? nullptr : sceReadImage(file.c_str());
    if (!consumed(fp, before)) {
        imgDestroy(image);
        skipUnreadBody(fp, name);
    } else if (scene->bgimg != nullptr) {
        imgDestroy(image);
        reportLimit(name, 1, "background image");
    } else {
        scene->bgcolor = color;
        scene->bgimg = image;
    }
}

static void readMaterial(Scene *scene, std::FILE *fp, long before, const char *name)
{
    Material material = matRead(fp);
    if (!consumed(fp, before)) {
        imgDestroy(material.texture);
        skipUnreadBody(fp, name);
    } else if (scene->mat_tbl_size >= MAX_MATERIALS) {
        imgDestroy(material.texture);
        reportLimit(name, MAX_MATERIALS, "materials");
    } else {
        scene->mat_tbl[scene->mat_tbl_size++] = material;
    }
}

static void readLight(Scene *scene, std::FILE *fp, long before, const char *name)
{
    Light light = lightRead(fp);
    if (!consumed(fp, before))
        skipUnreadBody(fp, name);
    else if (scene->light_tbl_size >= MAX_LIGHTS)
        reportLimit(name, MAX_LIGHTS, "lights");
    else
        scene->light_tbl[scene->light_tbl_size++] = light;
}

static void readObject(Scene *scene, std::FILE *fp, long before, const char *name,
                       Object *(*reader)(std::FILE *), const char *what)
{
    Object *object = reader(fp);
    if (!consumed(fp, before)) {
        if (object != nullptr)
            objDestroy(object);
        skipUnreadBody(fp, name);
    } else if (scene->obj_tbl_size >= MAX_OBJECTS) {
        if (object != nullptr)
            objDestroy(object);
        reportLimit(name, MAX_OBJECTS, "objects");
    } else if (object == nullptr) {
        std::printf("\n[%s:%d] skipping category '#%s': the %s could not be created\n",
                    __FILE__, __LINE__, name, what);
    } else {
        scene->obj_tbl[scene->obj_tbl_size++] = object;
    }
}

// Reads one body of a known category and stores what it gives.
static void readBody(Scene *scene, std::FILE *fp, Category category, const char *name)
{
    skipWhite(fp);
    long before = std::ftell(fp);
    switch (category) {
    case CAT_CAMERA:
        readCamera(scene, fp, before, name);
        break;
    case CAT_SCENE:
        readBackground(scene, fp, before, name);
        break;
    case CAT_MATERIAL:
        readMaterial(scene, fp, before, name);
        break;
    case CAT_LIGHT:
        readLight(scene, fp, before, name);
        break;
    case CAT_SPHERE:
        readObject(scene, fp, before, name, objReadSphere, "sphere");
        break;
    case CAT_TRIANGLE:
        readObject(scene, fp, before, name, objReadTriangle, "triangle");
        break;
    case CAT_BOX:
        readObject(scene, fp, before, name, objReadBox, "box");
        break;
    case CAT_UNKNOWN:
        GLINT_ASSERT(category != CAT_UNKNOWN);
    }
}

// Reports the unknown category in name and skips its body. Returns false when
// the file ends first. A header there that breaks the letters-only rule is
// unknown too, and is reported and skipped in turn.
static bool skipUnknown(std::FILE *fp, char *name)
{
    for (;;) {
        std::printf("\n[%s:%i] skipping unknown category '#%s'\n", __FILE__, __LINE__, name);
        if (sceNextCategory(fp, name, NAME_SIZE))
            return true;
        if (std::feof(fp))
            return false;
    }
}

static void readCategories(Scene *scene, std::FILE *fp)
{
    char name[NAME_SIZE] = "";
    // Before the first header there is no category to give a body to.
    if (skipToHeader(fp))
        std::printf("\n[%s:%d] skipping text before the first category\n", __FILE__, __LINE__);
    while (!std::feof(fp)) {
        // A 0 that is not the end of the file leaves the last name in the
        // buffer: the next body belongs to the same category.
        if (!sceReadCategory(fp, name, NAME_SIZE) && std::feof(fp))
            break;
        Category category = categoryOf(name);
        if (category == CAT_UNKNOWN) {
            if (!skipUnknown(fp, name))
                break;
        } else {
            readBody(scene, fp, category, name);
        }
    }
}

static const char *objectKind(const Object *object)
{
    switch (object->type) {
    case SPHERE:
        return "sphere";
    case TRIANGLE:
        return "triangle";
    default:
        return "box";
    }
}

// Materials may follow the objects that use them, so the indices are checked
// once the whole file is read. Reports every object whose index names no
// material; true when there is none.
static bool materialsResolve(const Scene *scene)
{
    bool ok = true;
    for (int i = 0; i < scene->obj_tbl_size; i++) {
        int material = objGetMaterial(scene->obj_tbl[i]);
        if (material < 0 || material >= scene->mat_tbl_size) {
            std::printf("\n[%s:%d] object %d (%s) uses material %d, but the scene has %d "
                        "materials\n",
                        __FILE__, __LINE__, i, objectKind(scene->obj_tbl[i]), material,
                        scene->mat_tbl_size);
            ok = false;
        }
    }
    return ok;
}

// Sets the scene folder, and the list where the images opened are noted,
// for the time of one read.
class SceneFolder {
public:
    SceneFolder(const char *path, std::vector<std::string> *sources)
    {
        const char *slash = std::strrchr(path, '/');
        sceneFolder = slash == nullptr ? std::string() : std::string(path, slash + 1);
        sceneSources = sources;
    }
    ~SceneFolder()
    {
        sceneFolder.clear();
        sceneSources = nullptr;
    }
    SceneFolder(const SceneFolder &) = delete;
    SceneFolder &operator=(const SceneFolder &) = delete;
};

Scene *sceReadFile(const char *name)
{
    std::FILE *src = std::fopen(name, "r");
    if (src == nullptr)
        return nullptr;
    std::FILE *tmp = scePreprocess(src);
    if (tmp == nullptr)
        return nullptr;
    Scene *scene = new (std::nothrow) Scene;
    if (scene == nullptr) {
        std::fclose(tmp);
        return nullptr;
    }
    scene->sources.push_back(name);
    scene->camera = nullptr;
    scene->bgcolor = colCreate(0.0, 0.0, 0.0);  // black unless a SCENE says otherwise
    scene->bgimg = nullptr;
    scene->mat_tbl_size = 0;
    scene->obj_tbl_size = 0;
    scene->light_tbl_size = 0;
    {
        SceneFolder folder(name, &scene->sources);
        readCategories(scene, tmp);
    }
    std::fclose(tmp);
    if (!materialsResolve(scene)) {
        sceDestroy(scene);
        return nullptr;
    }
    return scene;
}

Camera *sceGetCamera(const Scene *scene) { return scene->camera; }

Color sceGetBackground(const Scene *scene) { return scene->bgcolor; }

int sceGetObjectCount(const Scene *scene) { return scene->obj_tbl_size; }

Object *sceGetObject(const Scene *scene, int idx)
{
    GLINT_ASSERT(idx >= 0);
    GLINT_ASSERT(idx < scene->obj_tbl_size);
    return scene->obj_tbl[idx];
}

int sceGetLightCount(const Scene *scene) { return scene->light_tbl_size; }

Light sceGetLight(const Scene *scene, int idx)
{
    GLINT_ASSERT(idx >= 0);
    GLINT_ASSERT(idx < scene->light_tbl_size);
    return scene->light_tbl[idx];
}

int sceGetMaterialCount(const Scene *scene) { return scene->mat_tbl_size; }

Material sceGetMaterial(const Scene *scene, int idx)
{
    GLINT_ASSERT(idx >= 0);
    GLINT_ASSERT(idx < scene->mat_tbl_size);
    return scene->mat_tbl[idx];
}

void sceDestroy(Scene *sce)
{
    GLINT_ASSERT(sce != NULL);
    if (sce->camera != nullptr)
        camDestroy(sce->camera);
    if (sce->bgimg != nullptr)
        imgDestroy(sce->bgimg);
    for (int i = 0; i < sce->obj_tbl_size; i++)
        objDestroy(sce->obj_tbl[i]);
    for (int i = 0; i < sce->mat_tbl_size; i++)
        if (sce->mat_tbl[i].texture != nullptr)
            imgDestroy(sce->mat_tbl[i].texture);
    delete sce;
}

// Whether the two names lead to the same file: the same device and file
// number, links followed. A name that leads to no file matches none.
static bool sameFile(const char *a, const char *b)
{
    struct stat sa;
    struct stat sb;
    return stat(a, &sa) == 0 && stat(b, &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

int sceReadFrom(const Scene *scene, const char *name)
{
    for (size_t i = 0; i < scene->sources.size(); i++)
        if (sameFile(scene->sources[i].c_str(), name))
            return i == 0 ? SCENE_FILE : SCENE_IMAGE;
    return 0;
}
