#pragma once

namespace orvane {

// What the other controllers ask of the owner of the TransportModel (the player), which alone
// writes it: the chime library, casual play, the score page selector and printing. Each request
// takes effect before it returns. User-interface thread only.
class TransportRequests {
public:
    // The score page shown, 0-based.
    virtual void RequestPage(int page) = 0;
    // The step position in the combined step list, 0-based.
    virtual void RequestPosition(int position) = 0;
    // Study chimes played together (true), or a whole or custom chime (false).
    virtual void RequestStudyMode(bool on) = 0;
    // Casual play on; the player turns it off again at a reset.
    virtual void RequestCasualMode() = 0;

protected:
    ~TransportRequests() = default;
};

}  // namespace orvane
