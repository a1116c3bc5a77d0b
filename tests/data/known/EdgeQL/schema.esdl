# Schema of the blog.
module default {
    type User {
        required name: str;  # unique login
    }

    type Post {
        required title: str;
        body: str {
            default := 'empty # for now';
        };
        link author: User;
    }
}
