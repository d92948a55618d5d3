// Effect: the interface of everything the show draws.
//
// render(t) takes local time in seconds since the object's own start and
// returns nonzero when the object has finished. Objects are destroyed by
// their owner through their concrete type.
#pragma once

class Effect {
 public:
  virtual int query() { return 0; }
  virtual int render(float t) = 0;
  virtual int key(int code, int = 0, int = 0) { return 0; }

 protected:
  ~Effect() = default;
};
