#pragma once
// The compiled-in resources of each program; each call registers its table once.
void RegisterCommonResources();
void RegisterGamesResources();
void RegisterRhymesResources();
void RegisterSongsResources();
