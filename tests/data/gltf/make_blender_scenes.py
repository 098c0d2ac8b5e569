# Makes the Blender-exported glTF fixtures of the import tests. Blender is not needed to run the
# tests; run this only to make the fixtures again:
#   blender -b --factory-startup --python tests/data/gltf/make_blender_scenes.py -- tests/data/gltf
# The factory scene's cube flies and turns with a small moon parented to it (a two-level
# hierarchy), watched by the factory camera, which moves and rolls; keys at frames 1, 25 and 49
# (24 fps), Bezier interpolation, exported without sampling so the file holds Blender's own keys.
import math
import os
import sys

import bpy

out_dir = sys.argv[sys.argv.index("--") + 1]
scene = bpy.context.scene
scene.render.fps = 24
scene.frame_start = 1
scene.frame_end = 49

cube = bpy.data.objects["Cube"]
cube.scale = (0.5, 0.5, 0.5)
for frame, location, turn in ((1, (-2, 0, 0), 0), (25, (0, 1, 1), 90), (49, (2, -1, 0), 200)):
    cube.location = location
    cube.rotation_euler = (0, math.radians(turn / 3), math.radians(turn))
    cube.keyframe_insert("location", frame=frame)
    cube.keyframe_insert("rotation_euler", frame=frame)

bpy.ops.mesh.primitive_uv_sphere_add(radius=0.5, location=(0, 0, 0), segments=16, ring_count=8)
moon = bpy.context.active_object
moon.name = "Moon"
moon.parent = cube
moon.location = (3, 0, 0)

camera = bpy.data.objects["Camera"]
camera.data.lens_unit = "FOV"
camera.data.sensor_fit = "VERTICAL"
camera.data.angle = math.radians(40)
for frame, location, rotation in ((1, (0, -12, 3), (80, 0, 0)), (25, (4, -11, 4), (75, 5, 18)), (49, (0, -10, 6), (65, -5, 0))):
    camera.location = location
    camera.rotation_euler = tuple(math.radians(a) for a in rotation)
    camera.keyframe_insert("location", frame=frame)
    camera.keyframe_insert("rotation_euler", frame=frame)

bpy.ops.export_scene.gltf(filepath=os.path.join(out_dir, "blender_flight.glb"), export_format="GLB",
                          export_cameras=True, export_force_sampling=False, export_animations=True,
                          export_yup=True)
