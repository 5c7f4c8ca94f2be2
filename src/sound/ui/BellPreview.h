#pragma once

namespace orvane {

// The preview of the bell under the strip's cursor, as the voices see it: a strike worker
// refreshes it after its strike. User-interface thread only.
class BellPreview {
  public:
    // Shows the current bell's in-set picture and its hint text in the preview.
    virtual void RefreshPreview() = 0;

  protected:
    ~BellPreview() = default;
};

}  // namespace orvane
