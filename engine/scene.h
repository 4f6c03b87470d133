#ifndef GLINT_ENGINE_SCENE_H
#define GLINT_ENGINE_SCENE_H

#include <cstdio>
#include <string>

#include "engine/camera.h"
#include "engine/color.h"
#include "engine/light.h"
#include "engine/material.h"
#include "engine/object.h"

// The object table's size is set per program: glintcmd's build of the engine
// defines GLINT_MAX_OBJECTS as 64.
#ifndef GLINT_MAX_OBJECTS
#define GLINT_MAX_OBJECTS 128
#endif

enum { MAX_MATERIALS = 64, MAX_LIGHTS = 8, MAX_OBJECTS = GLINT_MAX_OBJECTS };

// Everything a scene description file defines. Owns its camera, objects,
// textures and background image.
struct Scene;

// Reads a scene description file; nullptr when it cannot be read.
Scene *sceReadFile(const char *name);

// Checks the header words of src, takes it over (it is closed on every path)
// and returns a rewound temporary copy of the rest without comments, or nullptr.
std::FILE *scePreprocess(std::FILE *src);

// Reads one category header into name (size bytes); 1 for a valid header.
int sceReadCategory(std::FILE *fp, char *name, int size);

// Skips to the next "#" and reads the header there.
int sceNextCategory(std::FILE *fp, char *name, int size);

// Shared by the SCENE and MATERIAL body readers: the next word of a body taken
// as an image file name; "null" when the file ends first or when the word
// would begin a category header ("#"). Words have no length limit.
std::string sceReadFileName(std::FILE *fp);

// Loads an image named in the scene file being read. A relative name that does
// not open as written is tried relative to the scene file's folder.
Image *sceReadImage(const char *name);

Camera *sceGetCamera(const Scene *scene);
Color sceGetBackground(const Scene *scene);
int sceGetObjectCount(const Scene *scene);
Object *sceGetObject(const Scene *scene, int idx);
int sceGetLightCount(const Scene *scene);
Light sceGetLight(const Scene *scene, int idx);
int sceGetMaterialCount(const Scene *scene);
Material sceGetMaterial(const Scene *scene, int idx);
void sceDestroy(Scene *sce);

// Which of the files the scene was read from the file called name is:
// SCENE_FILE for the scene description, SCENE_IMAGE for an image file the
// reader opened for it (a texture or a background image, kept or not), 0 for
// neither. The file system decides, so another spelling of the same path, or
// a link to the file, counts; a name that leads to no file is neither. Lets a
// program refuse to write its picture over its own input.
enum { SCENE_FILE = 1, SCENE_IMAGE = 2 };
int sceReadFrom(const Scene *scene, const char *name);

#endif
