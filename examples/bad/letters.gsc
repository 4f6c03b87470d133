GSD 2.0
! Malformed: words where numbers are due. The light body cannot be read and
! is skipped to the next header; the sphere keeps its good fields and counts
! the rest as 0; the camera is read in spite of the stray text before it.
stray text before the first header
#CAMERA
0 0 10  0 0 0  0 1 0  60  1 100  64 48
#LIGHT
bright white light
#MATERIAL
255 0 0   255 0 0   255 255 255   20 0 0 1 null
#SPHERE
0 large   0 0 0
#LIGHT
5 5 5   255 255 255
