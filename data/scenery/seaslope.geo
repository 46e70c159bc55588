// Seaslope: a slope above the sea for slope soaring, with a wind wheel.
// Written by tools/make_scenery.
SCENERY 6000
CLOUDS 400 3 0.8 0.6 texture/clouds.kxt
LIGHT_POSITION 0 -0.4 0.3 0.85 0
LIGHT_AMBIENT 0 0.3 0.32 0.36
LIGHT_DIFFUSE 0 0.95 0.92 0.85
VIEWC 40 800
CUBE 60 60 30 150
OCEAN seaslope_sea.tgo
OBJECT seaslope_land.tgo GROUND
SCALE 1 1 1
ROTATE 0 0 90
POSITION 60 -60 68.6304
OBJECT seaslope_hut.tgo
SCALE 1 1 1
ROTATE 0 0 0
POSITION 0 0 0
OBJECT seaslope_trees.tgo
DYNOBJECT seaslope_blades.tgo 200 150 74.70 wwblades
DYNOBJECT seaslope_tower.tgo 200 150 74.70 wwbase
// The ridge facing the sea for every model; the beach and a pad inland for
// helicopters. Negative heights stand on the ground.
START_POSITION -90 0 -1 180 -70 12 -1
START_POSITION -360 40 -1 0 -350 20 -1 noairplane
START_POSITION 20 60 -1 270 30 40 -1 noairplane
CONTEST PYLONRACE
STARTACFT -90 0 -1 180
STARTVIEW -70 12 -1
PYLON -150 0 70 0 0
PYLON -200 250 60 0 0
PYLON -200 -250 60 0 0
CONTEST SPOTLANDING
STARTACFT 150 -40 -1 90
STARTVIEW 140 -60 -1
SPOTAREA 25 12
