#define N 3
struct Falloff { float range : RANGE; };
struct Light { vec3 pos; vec4 color : COLOR; Falloff f; };
uniform Light lights[N];
uniform vec4 pal[2] : PALETTE;
/* comment */ void main() { gl_FragColor = lights[1].color; }
