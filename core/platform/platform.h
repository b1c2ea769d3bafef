#pragma once

class Prompter;
class SoundDevice;
class Shell;
class Registry;
class ScreenInfo;

// The five services the program takes from its surroundings; main() installs the real ones,
// tests install fakes.
struct Platform {
    Prompter* prompter = nullptr;
    SoundDevice* sound = nullptr;
    Shell* shell = nullptr;
    Registry* registry = nullptr;
    ScreenInfo* screen = nullptr;
};
