// SwarmSettings: the bug swarm's four numbers from "bug.cfg".
//
// numBugs, speed and drawCount are integers, alpha a real (key/value text,
// show/KeyValue.h). A missing, non-positive or absurd value is reported on
// standard output and replaced by the shipped default or held at a bound,
// so a broken file can neither empty the scene by accident nor ask for more
// creatures than a frame can draw.
#pragma once

struct SwarmSettings {
  int numBugs = 300;
  int speed = 54;
  int drawCount = 3;
  float alpha = 0.35f;
};

// Upper bounds; the frame time grows linearly with numBugs x drawCount, so
// their product is bounded too (by drawing fewer passes): 4000 creature
// passes take about 70 ms a frame on a software renderer, where the shipped
// 300 x 3 take 16 ms.
constexpr int kMaxBugs = 4000;
constexpr int kMaxSpeed = 1000;
constexpr int kMaxDrawCount = 16;
constexpr int kMaxBugPasses = 4000;

// Reads the settings from the text of "bug.cfg" (null: all defaults, with
// a message).
SwarmSettings readSwarmSettings(const char* text);
