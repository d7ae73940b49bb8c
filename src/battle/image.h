// Bodies made by skills: clones, afterimages, shots and traps.
#pragma once
#include <cstdint>

#include "battle/chara.h"

// Starts, called by the skill handlers with the slot the skill runs in.
void ImageStartClone(CHARA* lpChara, int32_t nSlot, int32_t nImages);
void ImageStartAfterimage(CHARA* lpChara, int32_t nSlot);
void ImageStartShot(CHARA* lpChara, int32_t nSlot);
void ImageStartTrap(CHARA* lpChara, int32_t nSlot);

// Per fight frame, for every slot of the fighter.
void ImageMove(CHARA* lpChara);
void ShotMove(CHARA* lpChara);
// lpShooter's shots and lpOwner's traps against the opponent's body.
void ShotHit(CHARA* lpVictim, CHARA* lpShooter);
void TrapHit(CHARA* lpVictim, CHARA* lpOwner);
