// Root component of the app.
import React from 'react';

/* Shows a greeting

   and a counter. */
export default function App({ name }) {
  const [count, setCount] = React.useState(0); // clicks
  const label = `Clicked ${count} times
  // not a comment`;
  return (
    <div className="app">
      {/* a comment inside JSX */}
      <a href="http://example.com">{label}</a>
      <button onClick={() => setCount(count + 1)}>+</button>
    </div>
  );
}
