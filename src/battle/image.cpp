#include "battle/image.h"

#include "app/crt_rand.h"
#include "app/option.h"
#include "battle/fixed.h"
#include "battle/skill.h"
#include "sound/sound.h"

namespace {
void CopyBody(IMAGE* lpImage, const CHARA* lpChara) {
    lpImage->box.nCenterX = lpChara->box.nCenterX;
    lpImage->box.nCenterY = lpChara->box.nCenterY;
    lpImage->box.nWidth = lpChara->box.nWidth;
    lpImage->box.nHeight = lpChara->box.nHeight;
    lpImage->box.nWidthShift = lpChara->box.nWidthShift;
    lpImage->box.nHeightShift = lpChara->box.nHeightShift;
    lpImage->nSizeRow = lpChara->nSizeRow;
    lpImage->bBig = lpChara->bBig;
}

// A 32 x 32 body whose corner is the owner's centre minus half the owner's size.
void PlaceSolid(IMAGE* lpImage, const CHARA* lpChara) {
    BOX& box = lpImage->box;
    box.nWidth = box.nHeight = 32;
    box.nWidthShift = box.nHeightShift = 5;
    box.nX = Sub32(lpChara->box.nCenterX, Mul32(lpChara->box.nWidth / 2, 1024));
    box.nY = Sub32(lpChara->box.nCenterY, Mul32(lpChara->box.nHeight / 2, 1024));
    BoxUpdate(&box);
    lpImage->nCount = 0;
}

void MoveCenter(IMAGE* lpImage, int32_t nDX, int32_t nDY) {
    lpImage->box.nCenterX = Add32(lpImage->box.nCenterX, nDX);
    lpImage->box.nCenterY = Add32(lpImage->box.nCenterY, nDY);
}

bool Runs(const CHARA* lpChara, int32_t nSlot, int32_t nId) {
    return lpChara->nSkillFlag[nSlot] == (1u << nId);
}

// Adds the push to a victim's speed on one axis, in the direction the shot flies.
int32_t ShotPush(int32_t nSpeed, int32_t nShot, int32_t nPush, bool bShooting) {
    if (nShot > 0) {
        if (bShooting && nSpeed < 0) nSpeed = 0;
        return Add32(nSpeed, nPush);
    }
    if (nShot < 0) {
        if (bShooting && nSpeed > 0) nSpeed = 0;
        return Sub32(nSpeed, nPush);
    }
    return nSpeed;
}
}  // namespace

void ImageStartClone(CHARA* lpChara, int32_t nSlot, int32_t nImages) {
    for (int32_t i = 0; i < nImages && i < SLOT_IMAGES; i++) CopyBody(&lpChara->slot[nSlot][i], lpChara);
}

void ImageStartAfterimage(CHARA* lpChara, int32_t nSlot) {
    CopyBody(&lpChara->slot[nSlot][0], lpChara);
    lpChara->nSlotSpeedX[nSlot] = lpChara->nSpeedX;
    lpChara->nSlotSpeedY[nSlot] = lpChara->nSpeedY;
}

void ImageStartShot(CHARA* lpChara, int32_t nSlot) {
    PlaceSolid(&lpChara->slot[nSlot][0], lpChara);
    int32_t nVX = lpChara->nAccelX > 0 ? 3072 : lpChara->nAccelX < 0 ? -3072 : 0;
    int32_t nVY = lpChara->nAccelY > 0 ? 3072 : lpChara->nAccelY < 0 ? -3072 : 0;
    if (nVX == 0 && nVY == 0) {
        // No direction held: follow the present motion; a fighter at rest shoots down-right.
        nVX = lpChara->nSpeedX < 0 ? -3072 : 3072;
        nVY = lpChara->nSpeedY < 0 ? -3072 : 3072;
    }
    lpChara->nSlotSpeedX[nSlot] = SpeedUp(nVX);
    lpChara->nSlotSpeedY[nSlot] = SpeedUp(nVY);
}

void ImageStartTrap(CHARA* lpChara, int32_t nSlot) {
    PlaceSolid(&lpChara->slot[nSlot][0], lpChara);
}

void ImageMove(CHARA* lpChara) {
    const int32_t nVX = lpChara->nSpeedX, nVY = lpChara->nSpeedY;
    for (int32_t s = 0; s < SKILL_SLOTS; s++) {
        IMAGE* lpImg = lpChara->slot[s];
        if (Runs(lpChara, s, SKILL_CLONE)) {
            MoveCenter(&lpImg[0], Neg32(nVX), Neg32(nVY));
        } else if (Runs(lpChara, s, SKILL_CLONE4)) {
            MoveCenter(&lpImg[0], nVX, Neg32(nVY));
            MoveCenter(&lpImg[1], Neg32(nVX), nVY);
            MoveCenter(&lpImg[2], Neg32(nVX), Neg32(nVY));
        } else if (Runs(lpChara, s, SKILL_AFTERIMAGE)) {
            MoveCenter(&lpImg[0], lpChara->nSlotSpeedX[s], lpChara->nSlotSpeedY[s]);
        }
    }
}

void ShotMove(CHARA* lpChara) {
    for (int32_t s = 0; s < SKILL_SLOTS; s++) {
        if (!Runs(lpChara, s, SKILL_SHOT)) continue;
        IMAGE& shot = lpChara->slot[s][0];
        shot.box.nX = Add32(shot.box.nX, lpChara->nSlotSpeedX[s]);
        shot.box.nY = Add32(shot.box.nY, lpChara->nSlotSpeedY[s]);
        BoxUpdate(&shot.box);
        shot.nCount = Add32(shot.nCount, 1);
        if (shot.nCount == 1) DSPlay(&g_Sound[SND_SHOT], 0);
    }
}

void ShotHit(CHARA* lpVictim, CHARA* lpShooter) {
    const bool bShooting = g_nBattleMode == BATTLE_SHOOTING;
    for (int32_t s = 0; s < SKILL_SLOTS; s++) {
        if (!Runs(lpShooter, s, SKILL_SHOT)) continue;
        const IMAGE& shot = lpShooter->slot[s][0];
        if (!BoxOverlap(&shot.box, &lpVictim->box)) continue;
        DSPlay(&g_Sound[SND_HIT_M], 0);
        EffectAdd(1, (Add32(lpVictim->box.nCenterX, shot.box.nCenterX) >> 11) - 8,
                  (Add32(lpVictim->box.nCenterY, shot.box.nCenterY) >> 11) - 8);
        // The longer the shot flew, the harder it hits.
        const int32_t p = SpeedUp(Mul32(70, shot.nCount));
        const double d = DefenseDivisor(lpVictim);
        const int32_t nPush = Trunc32((p + (bShooting ? 1433.6 : 716.8)) / d);
        lpVictim->nSpeedX = ShotPush(lpVictim->nSpeedX, lpShooter->nSlotSpeedX[s], nPush, bShooting);
        lpVictim->nSpeedY = ShotPush(lpVictim->nSpeedY, lpShooter->nSlotSpeedY[s], nPush, bShooting);
        BoxUpdate(&lpVictim->box);
        lpShooter->nSkillTime[s] = 0;
    }
}

void TrapHit(CHARA* lpVictim, CHARA* lpOwner) {
    for (int32_t s = 0; s < SKILL_SLOTS; s++) {
        if (!Runs(lpOwner, s, SKILL_TRAP)) continue;
        IMAGE& trap = lpOwner->slot[s][0];
        if (trap.nCount < 100) {
            // Arming: it cannot hit yet.
            if (++trap.nCount == 100) DSPlay(&g_Sound[SND_TRAP], 0);
            continue;
        }
        if (!BoxOverlap(&trap.box, &lpVictim->box)) continue;
        DSPlay(&g_Sound[SND_HIT_L], 0);
        EffectAdd(2, (Add32(trap.box.nCenterX, lpVictim->box.nCenterX) >> 11) - 8,
                  (Add32(trap.box.nCenterY, lpVictim->box.nCenterY) >> 11) - 8);
        const double d = DefenseDivisor(lpVictim);
        int32_t nVX, nVY;
        switch (CrtRand() % 4) {
            case 0:
                nVX = 4096;
                nVY = CrtRand() % 4097 - 2048;
                break;
            case 1:
                nVX = -4096;
                nVY = CrtRand() % 4097 - 2048;
                break;
            case 2:
                nVY = 4096;
                nVX = CrtRand() % 4097 - 2048;
                break;
            default:
                nVY = -4096;
                nVX = CrtRand() % 4097 - 2048;
                break;
        }
        lpVictim->nSpeedX = Trunc32(nVX / d);
        lpVictim->nSpeedY = Trunc32(nVY / d);
        lpOwner->nSkillTime[s] = 0;
    }
}
