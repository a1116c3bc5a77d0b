// Fragment shader of the demo.
#version 330 core

in vec2 uv;
out vec4 color;
uniform sampler2D tex;

/* Gamma correction is done

   in the shader. */
void main() {
    vec3 c = texture(tex, uv).rgb; // sample
    color = vec4(pow(c, vec3(1.0 / 2.2)), 1.0);
} /* end of main */
