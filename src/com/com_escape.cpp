// COM dodge mode: the search for an escape point to either side of the opponent's path.
#include <cstdint>

#include "app/crt_rand.h"
#include "battle/chara.h"
#include "battle/fixed.h"
#include "com/com.h"
#include "input/input.h"

namespace {

constexpr int64_t ESCAPE_MIN_X = 16 * 1024, ESCAPE_MAX_X = 624 * 1024;
constexpr int64_t ESCAPE_MIN_Y = 16 * 1024, ESCAPE_MAX_Y = 464 * 1024;
constexpr int32_t PURSUIT_FRAMES = 85;

// Walks from the COM's centre along one perpendicular of the opponent's motion until the
// inner arena stops it or the walk runs out of steps.
void EscapePoint(const CHARA* lpCom, int64_t nStepX, int64_t nStepY, int32_t* lpX, int32_t* lpY) {
    const int64_t cx = lpCom->box.nCenterX, cy = lpCom->box.nCenterY;
    int64_t tx = cx, ty = cy;
    const int32_t nSteps = 3 * lpCom->nComPredict;
    for (int32_t i = 0; i < nSteps; ++i) {
        tx += nStepX;
        ty += nStepY;
        bool bEnd = false;
        if (tx < cx && tx <= ESCAPE_MIN_X) {
            tx = ESCAPE_MIN_X;
            bEnd = true;
        } else if (tx > cx && tx >= ESCAPE_MAX_X) {
            tx = ESCAPE_MAX_X;
            bEnd = true;
        }
        if (ty < cy && ty <= ESCAPE_MIN_Y) {
            ty = ESCAPE_MIN_Y;
            break;
        }
        if (ty > cy && ty >= ESCAPE_MAX_Y) {
            ty = ESCAPE_MAX_Y;
            break;
        }
        if (bEnd) break;
    }
    // The clamps keep the point between the COM's centre and the inner arena.
    *lpX = static_cast<int32_t>(tx);
    *lpY = static_cast<int32_t>(ty);
}

// One frame of the opponent's copy chasing the COM's copy; it presses into the shared L.
void ChaseStep(CHARA* lpE, const CHARA* lpC, INPUTSTATE* lpL) {
    lpE->nComTargetX = Sub32(lpC->box.nCenterX, lpE->box.nCenterX);
    lpE->nComTargetY = Sub32(lpC->box.nCenterY, lpE->box.nCenterY);
    ComMakePlan(lpE, lpE->nComTargetX, lpE->nComTargetY);
    ComStepPlan(lpE, lpL);
    ComAdvance(lpE, lpL->nDir);
}

// How long the opponent needs to catch the COM fleeing toward (dx, dy); -1 when caught in flight.
int32_t EscapeFrames(const CHARA* lpCom, const CHARA* lpEnemy, int32_t dx, int32_t dy) {
    CHARA c = *lpCom, e = *lpEnemy;
    INPUTSTATE l{};
    ComClearInput(&l);
    ComMakePlan(&c, dx, dy);
    for (int32_t i = 0; i < lpCom->nComPredict; ++i) {
        ComStepPlan(&c, &l);
        ComAvoidWall(&c, &l);
        ComAdvance(&c, l.nDir);
        ChaseStep(&e, &c, &l);
        if (BoxOverlap(&c.box, &e.box)) return -1;
    }
    int32_t n = PURSUIT_FRAMES;
    for (int32_t i = 0; i < PURSUIT_FRAMES; ++i) {
        ChaseStep(&e, &c, &l);
        if (BoxOverlap(&c.box, &e.box)) {
            n = i;
            break;
        }
    }
    // Fleeing toward the middle without passing it is worth more.
    if ((dx < 0 && c.box.nCenterX >= 320 * 1024) || (dx > 0 && c.box.nCenterX <= 320 * 1024)) n += 50;
    if ((dy < 0 && c.box.nCenterY >= 240 * 1024) || (dy > 0 && c.box.nCenterY <= 240 * 1024)) n += 50;
    return n;
}

}  // namespace

int32_t ComFindEscape(CHARA* lpCom, CHARA* lpEnemy) {
    int64_t vx = lpEnemy->nSpeedX, vy = lpEnemy->nSpeedY;
    if (vx == 0 && vy == 0) vy = 1;
    int32_t nTx[2], nTy[2];
    EscapePoint(lpCom, vy, -vx, &nTx[0], &nTy[0]);
    EscapePoint(lpCom, -vy, vx, &nTx[1], &nTy[1]);

    int32_t nBest = -1;
    for (int k = 0; k < 2; ++k) {
        const int32_t dx = Sub32(nTx[k], lpCom->box.nCenterX);
        const int32_t dy = Sub32(nTy[k], lpCom->box.nCenterY);
        int32_t n = EscapeFrames(lpCom, lpEnemy, dx, dy);
        if (n < 0) continue;
        const int32_t nScore = n + CrtRand() % 41 - 20;
        if (nScore > nBest) {
            nBest = nScore;
            lpCom->nComTargetX = dx;
            lpCom->nComTargetY = dy;
            ComMakePlan(lpCom, dx, dy);
        }
    }
    if (nBest <= -1) return 0;
    ComMakePlan(lpCom, lpCom->nComTargetX, lpCom->nComTargetY);
    return 1;
}
