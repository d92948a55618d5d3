// The registry's name rules and what it releases when it goes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "show/ResourceRegistry.h"

namespace {

// A stand-in resource that notes when it is released.
std::vector<std::string>* releaseLog = nullptr;
struct Noted {
  std::string name;
};
void releaseNoted(void* value) {
  Noted* noted = static_cast<Noted*>(value);
  if (releaseLog) releaseLog->push_back(noted->name);
  delete noted;
}

}  // namespace

TEST(ResourceRegistry, SettingsAreTheFieldsThemselves) {
  ResourceRegistry registry;
  EXPECT_EQ(*static_cast<int*>(registry.get("Width")), 640);
  EXPECT_EQ(*static_cast<int*>(registry.get("Height")), 480);
  EXPECT_EQ(*static_cast<int*>(registry.get("Good")), 0);
  registry.width = 800;
  registry.good = 1;
  EXPECT_EQ(registry.get("Width"), &registry.width);
  EXPECT_EQ(registry.get("Height"), &registry.height);
  EXPECT_EQ(registry.get("Good"), &registry.good);
  EXPECT_EQ(*static_cast<int*>(registry.get("Width")), 800);
  // Names compare exactly; settings are never stored in the map.
  EXPECT_EQ(registry.get("width"), nullptr);
  EXPECT_TRUE(registry.resources.empty());
}

TEST(ResourceRegistry, UnknownNamesGiveNullAndStoreNothing) {
  ResourceRegistry registry;
  for (const char* name : {"NoSuchThing", "", "Rhythm1", "Captur"}) {
    EXPECT_EQ(registry.get(name), nullptr) << name;
  }
  EXPECT_EQ(registry.get(nullptr), nullptr);
  // "Rhythm1" and the others are made only through their first name.
  EXPECT_EQ(registry.resources.count("Rhythm1"), 0u);
}

TEST(ResourceRegistry, StoredResourcesAreShared) {
  ResourceRegistry registry;
  Noted* shared = new Noted{"shared"};
  registry.adopt("Shared", shared, releaseNoted);
  EXPECT_EQ(registry.get("Shared"), shared);
  EXPECT_EQ(registry.get("Shared"), shared);
  EXPECT_EQ(registry.get("shared"), nullptr);
}

TEST(ResourceRegistry, ReleasesEverythingItMadeInOrder) {
  std::vector<std::string> released;
  releaseLog = &released;
  {
    ResourceRegistry registry;
    // Adopted out of order; names of every kind the registry may hold.
    for (const char* name : {"LineCube", "zzOther", "capture3", "Capture3", "Capture12",
                             "ShadowLight", "CircleMask", "SimpleDSDT", "Rhythm2", "Rhythm0",
                             "white", "CopyScreen640x480b", "CopyScreen512x512",
                             "PBuffer512x512", "Extra"}) {
      registry.adopt(name, new Noted{name}, releaseNoted);
    }
    // Owned by the distortion: stored, never released on its own.
    static int ownedByDistortion = 0;
    registry.adopt("MessDSDT", &ownedByDistortion, nullptr);
  }
  releaseLog = nullptr;
  const std::vector<std::string> expected = {
      "PBuffer512x512", "CopyScreen512x512", "CopyScreen640x480b", "Rhythm0", "Rhythm2",
      "white", "SimpleDSDT", "CircleMask", "ShadowLight",
      // every capture name, any case, in key order
      "Capture12", "Capture3", "capture3",
      "LineCube",
      // whatever else was made
      "Extra", "zzOther"};
  EXPECT_EQ(released, expected);
}

TEST(ResourceRegistry, AdoptingOverAValueReleasesTheOldOne) {
  std::vector<std::string> released;
  releaseLog = &released;
  {
    ResourceRegistry registry;
    registry.adopt("Thing", new Noted{"first"}, releaseNoted);
    registry.adopt("Thing", new Noted{"second"}, releaseNoted);
    EXPECT_EQ(static_cast<Noted*>(registry.get("Thing"))->name, "second");
    EXPECT_EQ(released, std::vector<std::string>{"first"});
  }
  releaseLog = nullptr;
  EXPECT_EQ(released, (std::vector<std::string>{"first", "second"}));
}
